#include "ui/shaped/shaped_form.h"

#include <QPushButton>
#include <QTest>

namespace {
// A white picture with a filled rectangle: the figure.
QImage picture(QRect figure, QSize size = {60, 80}) {
    QImage image(size, QImage::Format_RGB888);
    image.fill(Qt::white);
    for (int y = figure.top(); y <= figure.bottom(); ++y)
        for (int x = figure.left(); x <= figure.right(); ++x)
            image.setPixelColor(x, y, QColor(40, 90, 160));
    return image;
}

struct Shaped {
    QWidget window{nullptr, Qt::Window | Qt::FramelessWindowHint};
    QImage current = picture({10, 10, 30, 40});
    ui::shaped::ShapedForm* form;
    explicit Shaped(ui::shaped::ShapedForm::Settings settings = {true, qRgb(255, 255, 255)}) {
        window.resize(70, 90); // a little larger than the picture
        form = new ui::shaped::ShapedForm(
            &window, [this] { return current; }, settings);
    }
};
} // namespace

class TestShapedForm : public QObject {
    Q_OBJECT
  private slots:
    void outlineIsTheFigureExactly() {
        QImage image = picture({10, 10, 30, 40});
        image.setPixelColor(20, 20, QColor(255, 255, 254)); // near-white stays
        image.setPixelColor(25, 25, Qt::white);             // exact white is cut
        const QRegion region = ui::shaped::ShapedForm::outline(image, qRgb(255, 255, 255));
        QVERIFY(!region.contains(QPoint(0, 0)));
        QVERIFY(!region.contains(QPoint(59, 79)));
        QVERIFY(region.contains(QPoint(10, 10)));
        QVERIFY(region.contains(QPoint(39, 49)));
        QVERIFY(!region.contains(QPoint(40, 50)));
        QVERIFY(region.contains(QPoint(20, 20)));
        QVERIFY(!region.contains(QPoint(25, 25)));
        QCOMPARE(region.boundingRect(), QRect(10, 10, 30, 40));
    }

    void cutsOnFirstShowRecutsAndUncuts() {
        Shaped s;
        QVERIFY(s.window.mask().isEmpty());
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        QCOMPARE(s.window.mask().boundingRect(), QRect(10, 10, 30, 40));
        // The strip beyond the picture is cut too.
        QVERIFY(!s.window.mask().contains(QPoint(65, 85)));

        s.current = picture({0, 0, 5, 5});
        QCOMPARE(s.window.mask().boundingRect(), QRect(10, 10, 30, 40)); // not until asked
        s.form->setProperty("Shaped", true);
        QCOMPARE(s.window.mask().boundingRect(), QRect(0, 0, 5, 5));

        s.form->setShaped(false);
        QVERIFY(s.window.mask().isEmpty());
        QVERIFY(!s.form->isShaped());
    }

    void defaultsNeitherCutNorDrag() {
        Shaped s(ui::shaped::ShapedForm::Settings{});
        s.window.move(100, 100);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));
        s.form->setShaped(true);
        QVERIFY(s.window.mask().isEmpty());
        QTest::mousePress(&s.window, Qt::LeftButton, {}, QPoint(20, 20));
        QTest::mouseMove(&s.window, QPoint(50, 60));
        QTest::mouseRelease(&s.window, Qt::LeftButton, {}, QPoint(50, 60));
        QCOMPARE(s.window.pos(), QPoint(100, 100));
    }

    void dragMovesByTheSurfaceButNotByAButton() {
        Shaped s;
        auto* button = new QPushButton("&1", &s.window);
        button->setGeometry(12, 12, 20, 20);
        int clicks = 0;
        connect(button, &QPushButton::clicked, [&] { ++clicks; });
        s.window.move(100, 100);
        s.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&s.window));

        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicks, 1);
        QCOMPARE(s.window.pos(), QPoint(100, 100));

        // The offscreen platform cannot move windows itself: the fallback does.
        QTest::mousePress(&s.window, Qt::LeftButton, {}, QPoint(35, 45));
        QMouseEvent move(QEvent::MouseMove, QPointF(35, 45), QPointF(165, 185), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&s.window, &move);
        QTest::mouseRelease(&s.window, Qt::LeftButton, {}, QPoint(65, 85));
        QCOMPARE(s.window.pos(), QPoint(130, 140));
    }
};

QTEST_MAIN(TestShapedForm)
#include "test_shaped_form.moc"
