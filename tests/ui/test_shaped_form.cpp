#include "ui/shaped/shaped_form.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QStyleHints>
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

// A mouse event at `offset` from the point pressed (35, 45 in the window).
void send(QWidget& window, QEvent::Type type, QPoint offset, Qt::MouseButtons held) {
    const QPoint local = QPoint(35, 45) + offset;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), QPointF(window.mapToGlobal(QPoint(35, 45)) + offset),
                      button, held, Qt::NoModifier);
    QApplication::sendEvent(&window, &event);
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

    void movesOnlyWhenDraggedPastTheDragDistance_data();
    void movesOnlyWhenDraggedPastTheDragDistance();
};

void TestShapedForm::movesOnlyWhenDraggedPastTheDragDistance_data() {
    // Each step: "press", "release", or "move X Y held|free" (from the press).
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QPoint>("shift");
    const int d = QGuiApplication::styleHints()->startDragDistance();
    const QString justShort = QString("move %1 0 held").arg(d - 1);
    const QString justFar = QString("move %1 0 held").arg(d);
    QTest::newRow("tap") << QStringList{"press", "release", "move 40 30 free"} << QPoint(0, 0);
    QTest::newRow("tap, then moving with the button up")
        << QStringList{"press", "release", "move 40 30 free", "move 90 60 free"} << QPoint(0, 0);
    QTest::newRow("twitch within the drag distance")
        << QStringList{"press", justShort, "release"} << QPoint(0, 0);
    QTest::newRow("just the drag distance")
        << QStringList{"press", justFar, "release"} << QPoint(d, 0);
    QTest::newRow("drag") << QStringList{"press", justShort, "move 40 30 held", "release"}
                          << QPoint(40, 30);
    QTest::newRow("drag, then moving with the button up")
        << QStringList{"press", "move 40 30 held", "release", "move 90 60 free"} << QPoint(40, 30);
    QTest::newRow("held move after the release")
        << QStringList{"press", "release", "move 40 30 held"} << QPoint(0, 0);
}

void TestShapedForm::movesOnlyWhenDraggedPastTheDragDistance() {
    QFETCH(QStringList, steps);
    QFETCH(QPoint, shift);
    Shaped s;
    s.window.move(100, 100);
    s.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&s.window));
    QPoint last;
    for (const QString& step : steps) {
        const QStringList words = step.split(' ');
        if (words[0] == "press") {
            send(s.window, QEvent::MouseButtonPress, last, Qt::LeftButton);
        } else if (words[0] == "release") {
            send(s.window, QEvent::MouseButtonRelease, last, Qt::NoButton);
        } else {
            last = QPoint(words[1].toInt(), words[2].toInt());
            send(s.window, QEvent::MouseMove, last,
                 words[3] == "held" ? Qt::LeftButton : Qt::NoButton);
        }
    }
    QCOMPARE(s.window.pos(), QPoint(100, 100) + shift);
}

QTEST_MAIN(TestShapedForm)
#include "test_shaped_form.moc"
