// Under a dark desktop theme (Fusion with light text on dark ground) every
// control of the panel and of the help windows stays legible: the red and
// green time boxes bring their own dark text, and the standard controls take
// both their colours from the theme.
#include "../help/fakes.h"
#include "form_rig.h"
#include "help/help_windows.h"

#include <QStyleFactory>

#include <memory>

namespace {

double luminance(QColor c) {
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The contrast ratio of the web's accessibility guidelines, 1 to 21.
double contrast(QColor a, QColor b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette darkPalette() {
    QPalette p;
    p.setColor(QPalette::Window, QColor(45, 45, 45));
    p.setColor(QPalette::WindowText, QColor(230, 230, 230));
    p.setColor(QPalette::Base, QColor(30, 30, 30));
    p.setColor(QPalette::AlternateBase, QColor(50, 50, 50));
    p.setColor(QPalette::Text, Qt::white);
    p.setColor(QPalette::Button, QColor(53, 53, 53));
    p.setColor(QPalette::ButtonText, Qt::white);
    p.setColor(QPalette::Highlight, QColor(42, 130, 218));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(127, 127, 127));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
    return p;
}

// Each button, check box and text box of `window` against the ground it is
// drawn on, in every state a user meets it.
QStringList illegible(QWidget* window) {
    QStringList found;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        QPalette::ColorRole text, ground;
        if (qobject_cast<QLineEdit*>(w)) {
            text = QPalette::Text;
            ground = QPalette::Base;
        } else if (qobject_cast<QPushButton*>(w)) {
            text = QPalette::ButtonText;
            ground = QPalette::Button;
        } else {
            continue;
        }
        const QPalette p = w->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            const double ratio = contrast(p.color(group, text), p.color(group, ground));
            if (ratio < 4.5)
                found << QString("%1: %2").arg(w->objectName()).arg(ratio, 0, 'f', 1);
        }
    }
    return found;
}

} // namespace

class TestDarkPalette : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        QApplication::setStyle(QStyleFactory::create("Fusion"));
        QApplication::setPalette(darkPalette());
    }

    void timeBoxesAreLegibleRedAndGreen_data() {
        QTest::addColumn<bool>("armed");
        QTest::newRow("idle, red") << false;
        QTest::newRow("armed, green") << true;
    }
    void timeBoxesAreLegibleRedAndGreen() {
        QFETCH(bool, armed);
        FormRig rig;
        rig.show();
        rig.click(12);
        QLineEdit* text = rig.f().Text(2);
        if (armed) {
            text->setText("18:00:00");
            rig.f().Check(2)->setCheckState(Qt::Checked);
            QVERIFY(text->isReadOnly());
        }
        const QColor ground = armed ? QColor(0, 255, 0) : QColor(255, 0, 0);
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            QCOMPARE(text->palette().color(group, QPalette::Base), ground);
            QVERIFY(contrast(text->palette().color(group, QPalette::Text), ground) >= 4.5);
        }
        // What is drawn: the ground, and text that stands out from it as much.
        const QImage drawn = text->grab().toImage();
        double best = 1;
        int groundPixels = 0;
        for (int y = 3; y < drawn.height() - 3; ++y)
            for (int x = 3; x < drawn.width() - 3; ++x) {
                const QColor c = drawn.pixelColor(x, y);
                best = std::max(best, contrast(c, ground));
                groundPixels += c == ground;
            }
        QVERIFY(groundPixels > drawn.width() * drawn.height() / 3);
        QVERIFY2(best >= 4.5, qPrintable(QString::number(best)));
    }

    void everyPanelControlIsLegible() {
        FormRig rig;
        rig.show();
        rig.click(12);
        QCOMPARE(illegible(&rig.f()), QStringList());
    }

    void everyHelpWindowControlIsLegible() {
        FakeRegistry registry;
        FakeStarter starter;
        for (QWidget* w : {help::createOperationGuide(), help::createWiringDiagram(),
                           help::createAbout(registry, starter)}) {
            std::unique_ptr<QWidget> window(w);
            window->show();
            QCOMPARE(illegible(window.get()), QStringList());
        }
    }
};

QTEST_MAIN(TestDarkPalette)
#include "test_dark_palette.moc"
