// On a screen scaled by 2 the panel draws its 2x renderings: the skin and the
// faces come out sharp, not pixel-doubled, while the window keeps its size
// and is cut from the 1x picture exactly as on a normal screen.
#include "form_rig.h"
#include "ui/look.h"
#include "ui/shaped/shaped_form.h"

#include <QImage>
#include <QPainter>

namespace {

// A device pixel of a 2x grab of `w` at logical point `p`, sampled at the
// lower right quarter so that a doubled 1x pixel and a 2x pixel can differ.
QRgb at(const QImage& grab, QPoint p) {
    return grab.pixel(2 * p.x() + 1, 2 * p.y() + 1);
}

bool close(QRgb a, QRgb b) {
    return qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2 &&
           qAbs(qBlue(a) - qBlue(b)) <= 2;
}

// Points inside `area` that no control covers, where the 2x rendering
// differs from its 1x picture doubled: there the two can be told apart.
QList<QPoint> telling(ui::Form1& f, const QImage& x1, const QImage& x2, QRect area) {
    QList<QPoint> points;
    for (int y = area.top(); y <= area.bottom(); y += 3)
        for (int x = area.left(); x <= area.right(); x += 3) {
            const QPoint p(x, y);
            if (f.childAt(p) != nullptr || !f.mask().contains(p))
                continue;
            if (!close(x1.pixel(p), x2.pixel(2 * x + 1, 2 * y + 1)))
                points << p;
        }
    return points;
}

} // namespace

class TestHiDpi : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void theSkinIsDrawnSharpAndCutAsAt1x() {
        FormRig rig;
        rig.show();
        ui::Form1& f = rig.f();
        QCOMPARE(f.size(), QSize(301, 486));
        QCOMPARE(f.picture().size(), QSize(296, 479));
        QCOMPARE(f.mask(), ui::shaped::ShapedForm::outline(f.picture(), qRgb(255, 255, 255)));

        const QImage x1(":/main/skin/lily");
        const QImage x2(":/main/skin/lily@2x");
        QCOMPARE(x2.size(), 2 * x1.size());
        const QImage grab = f.grab().toImage();
        QCOMPARE(grab.size(), QSize(602, 972));
        const QList<QPoint> points = telling(f, x1, x2, f.rect());
        QVERIFY2(points.size() > 50, "no place where the renderings differ");
        for (const QPoint& p : points)
            QVERIFY2(close(at(grab, p), x2.pixel(2 * p.x() + 1, 2 * p.y() + 1)),
                     qPrintable(QString("(%1, %2)").arg(p.x()).arg(p.y())));
    }

    void aSkinChosenLaterIsSharpToo() {
        FormRig rig;
        rig.show();
        rig.f().findChild<QAction*>("CA")->trigger(); // Gold
        const QImage x1(":/main/skin/gold");
        const QImage x2(":/main/skin/gold@2x");
        QCOMPARE(rig.f().picture(), rig.f().Picture(8)->picture());
        const QImage grab = rig.f().grab().toImage();
        const QList<QPoint> points = telling(rig.f(), x1, x2, rig.f().rect());
        QVERIFY(points.size() > 50);
        for (const QPoint& p : points)
            QVERIFY(close(at(grab, p), x2.pixel(2 * p.x() + 1, 2 * p.y() + 1)));
    }

    void theFacesAreDrawnSharp() {
        FormRig rig;
        rig.show();
        QPushButton* on = rig.f().Command(1);
        const QImage grab = on->grab().toImage();
        const QImage x2(":/main/face/on@2x");
        QCOMPARE(x2.size(), QSize(76, 156));
        // The face is centred in its 41 x 89 button; its top band carries no caption.
        QRect face(QPoint(0, 0), QSize(38, 78));
        face.moveCenter(on->rect().center());
        const QPoint origin = 2 * face.topLeft();
        int compared = 0;
        for (int y = 4; y < 36; y += 4)
            for (int x = 4; x < x2.width() - 4; x += 4) {
                QVERIFY(close(grab.pixel(origin + QPoint(x, y)), x2.pixel(x, y)));
                ++compared;
            }
        QVERIFY(compared > 100);
    }

    void theIconComesInBothSizes() {
        const QIcon icon = ui::programIcon();
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).deviceIndependentSize(), QSizeF(32, 32));
        QCOMPARE(icon.pixmap(QSize(32, 32), 2.0).size(), QSize(64, 64));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_hidpi.moc"
