// The real program as a native Wayland client of a headless weston: the
// window is drawn cut to the outline of its picture, so the desktop shows
// at the corners and in the strip beyond the picture, and the skin inside.
#include "panel_layout.h"
#include "panel_run.h"
#include "wayland_session.h"

#include <QDir>
#include <QTest>

namespace {
// Where the screenshot differs from the bare desktop.
QRect drawnArea(const QImage& shot) {
    QRect area;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != WaylandSession::Background)
                area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

QRect figureOf(const QImage& skin) {
    QRect figure;
    for (int y = 0; y < skin.height(); ++y) {
        for (int x = 0; x < skin.width(); ++x) {
            if (skin.pixel(x, y) != qRgb(255, 255, 255))
                figure |= QRect(x, y, 1, 1);
        }
    }
    return figure;
}
} // namespace

class TestPanelWayland : public QObject {
    Q_OBJECT

    WaylandSession wayland;
    PanelRun panel;
    const QImage skin = PanelRun::startupSkin();
    QImage shot;

  private slots:
    void initTestCase() {
        QString error;
        if (!wayland.start(&error))
            QSKIP(qPrintable("no Wayland compositor to test with: " + error));
        QVERIFY(!skin.isNull());
        QVERIFY(panel.start(wayland.environment()));
        // Shown once the skin is on its bare surface.
        const QPoint figureCorner = figureOf(skin).topLeft();
        QVERIFY2(panel.waitUntil([&] {
            shot = wayland.screenshot();
            const QPoint spot = drawnArea(shot).topLeft() - figureCorner + layout::Surface;
            return shot.rect().contains(spot) && shot.pixel(spot) == skin.pixel(layout::Surface);
        }),
                 "the panel did not appear");
        shot.save(QDir(PanelRun::screenshotDir()).filePath("wayland-panel.png"));
    }

    void isDrawnCutToTheOutline() {
        const QRect figure = figureOf(skin);
        const QRect drawn = drawnArea(shot);
        // Nothing but the figure is drawn: not the white ground, not the strip.
        QCOMPARE(drawn.size(), figure.size());
        const QPoint origin = drawn.topLeft() - figure.topLeft(); // the client area's corner

        int desktop = 0, skinShown = 0, figurePixels = 0;
        QStringList wrong;
        for (int y = 0; y < layout::Size.height(); ++y) {
            for (int x = 0; x < layout::Size.width(); ++x) {
                const QPoint p = origin + QPoint(x, y);
                if (!QRect(0, 0, shot.width(), shot.height()).contains(p))
                    continue;
                const bool ground =
                    !skin.rect().contains(x, y) || skin.pixel(x, y) == qRgb(255, 255, 255);
                if (ground) {
                    if (shot.pixel(p) == WaylandSession::Background)
                        ++desktop;
                    else if (wrong.size() < 5)
                        wrong << QString("%1,%2").arg(x).arg(y);
                } else {
                    ++figurePixels;
                    skinShown += shot.pixel(p) == skin.pixel(x, y);
                }
            }
        }
        QVERIFY2(wrong.isEmpty(), qPrintable("not the desktop at " + wrong.join(' ')));
        QVERIFY(desktop > 0);
        // The corners of the client area and of the strip beyond the picture.
        for (QPoint corner : layout::CutAway)
            QCOMPARE(shot.pixel(origin + corner), WaylandSession::Background);
        // The skin where no control covers it, a bare spot of the surface among it.
        QCOMPARE(shot.pixel(origin + layout::Surface), skin.pixel(layout::Surface));
        QVERIFY2(skinShown * 2 > figurePixels,
                 qPrintable(QString("%1 of %2").arg(skinShown).arg(figurePixels)));
    }
};

QTEST_GUILESS_MAIN(TestPanelWayland)
#include "test_panel_wayland.moc"
