#include "form_rig.h"
#include "ui/shaped/shaped_form.h"
#include "ui/skins.h"

#include <QAction>
#include <QFontMetrics>

namespace {
const QStringList SkinItems{"Sl", "lg", "CA", "An", "sb", "gl", "Li", "Bl"};

void choose(FormRig& rig, const QString& item) {
    rig.f().findChild<QAction*>(item)->trigger();
}

QList<bool> windowButtons(FormRig& rig) {
    QList<bool> shown;
    for (int n = 9; n <= 18; ++n)
        shown << !rig.f().Command(n)->isHidden();
    return shown;
}
const QList<bool> StartButtons{true, true, true, true, false, true, false, true, true, true};

// Where a control can be seen: a transparent label only where its text is.
QRect seenArea(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w);
        label && !label->text().isEmpty() && label->objectName() != "Label4") {
        const QRect text =
            QFontMetrics(label->font())
                .boundingRect(QRect(QPoint(0, 0), label->size()),
                              int(label->alignment()) | Qt::TextWordWrap, label->text());
        return text.translated(label->pos()).intersected(label->geometry());
    }
    return w->geometry();
}
} // namespace

class TestSkins : public QObject {
    Q_OBJECT
  private slots:
    void skinCommandsUseTheirHolders_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("holder");
        QTest::addColumn<QSize>("size");
        QTest::newRow("Acqa") << "Sl" << 3 << QSize(297, 479);
        QTest::newRow("Nature") << "lg" << 6 << QSize(296, 482);
        QTest::newRow("Gold") << "CA" << 8 << QSize(294, 480);
        QTest::newRow("Purple") << "An" << 9 << QSize(296, 482);
        QTest::newRow("Sea Beach") << "sb" << 7 << QSize(295, 481);
        QTest::newRow("Bird") << "gl" << 2 << QSize(299, 480);
        QTest::newRow("Lily") << "Li" << 1 << QSize(296, 479);
        QTest::newRow("Sky") << "Bl" << 4 << QSize(295, 481);
    }
    void skinCommandsUseTheirHolders() {
        QFETCH(QString, item);
        QFETCH(int, holder);
        QFETCH(QSize, size);
        FormRig rig;
        rig.show();
        rig.click(14); // All On: the skin puts "All On" back, channels stay on
        rig.click(12); // timer panel shown
        rig.click(18); // plain view first: the skin must cut again
        const auto writes = rig.port.values();
        const int beeps = rig.beeper.count;
        choose(rig, item);
        choose(rig, item); // twice is the same as once
        QCOMPARE(rig.f().picture(), rig.f().Picture(holder)->picture());
        QCOMPARE(rig.f().picture().size(), size);
        QCOMPARE(rig.f().picture().depth(), 32); // 24-bit pictures, held as RGB32
        QCOMPARE(windowButtons(rig), StartButtons);
        QVERIFY(rig.f().shapedForm().isShaped());
        QCOMPARE(rig.f().mask(),
                 ui::shaped::ShapedForm::outline(rig.f().picture(), qRgb(255, 255, 255)));
        QVERIFY(!rig.f().Text(1)->isHidden()); // panel untouched
        for (int n = 1; n <= 4; ++n)
            QVERIFY(rig.shownOn(n));
        QCOMPARE(rig.port.values(), writes);
        QCOMPARE(rig.beeper.count, beeps);
    }

    void lilyAloneChangesTheBackColourForGood() {
        FormRig rig;
        QCOMPARE(rig.f().palette().color(QPalette::Window), QColor(255, 128, 0));
        const QImage before = rig.f().picture();
        choose(rig, "Li");
        QCOMPARE(rig.f().picture(), before); // the start-up picture is Lily's
        QCOMPARE(rig.f().palette().color(QPalette::Window), QColor(255, 192, 128));
        choose(rig, "CA");
        QCOMPARE(rig.f().palette().color(QPalette::Window), QColor(255, 192, 128));
        choose(rig, "Sl");
        rig.click(18);
        QCOMPARE(rig.f().palette().color(QPalette::Window), QColor(255, 192, 128));
    }

    void plainViewHidesTheTenButtonsAndUncuts() {
        FormRig rig;
        rig.show();
        rig.click(12);
        rig.f().Timer1_Timer();
        const QString clock = rig.f().Label4->text();
        rig.click(18);
        QVERIFY(!rig.f().shapedForm().isShaped());
        QVERIFY(rig.f().mask().isEmpty());
        QCOMPARE(rig.f().picture(), rig.f().Picture(8)->picture());
        QCOMPARE(windowButtons(rig), QList<bool>(10, false));
        QVERIFY(!rig.f().Check(1)->isHidden());
        QVERIFY(!rig.f().Command(1)->isHidden());
        QCOMPARE(rig.f().Label4->text(), clock);
        choose(rig, "CA"); // Gold brings back the same picture, cut
        QCOMPARE(rig.f().picture(), rig.f().Picture(8)->picture());
        QCOMPARE(windowButtons(rig), StartButtons);
        QVERIFY(!rig.f().mask().isEmpty());
    }

    void twinSkinsGiveIdenticalWindows() {
        FormRig a, b;
        choose(a, "Bl");
        choose(b, "sb");
        QCOMPARE(a.f().picture(), b.f().picture());
        choose(a, "lg");
        choose(b, "An");
        QCOMPARE(a.f().picture(), b.f().picture());
        QVERIFY(a.f().Picture(5)->picture().pixel(0, 0) != qRgb(255, 255, 255));
    }

    void hintFitsItsLabel() {
        FormRig rig;
        QLabel* hint = rig.f().Label1;
        const QRect text =
            QFontMetrics(hint->font())
                .boundingRect(QRect(QPoint(0, 0), hint->size()),
                              int(hint->alignment()) | Qt::TextWordWrap, hint->text());
        QVERIFY(text.height() <= hint->height());
    }

    // Nothing that can be visible may fall outside any skin's outline.
    void everyControlLiesInsideEverySkin() {
        FormRig rig;
        rig.show();
        rig.click(12); // panel and hint visible
        QList<QWidget*> controls;
        for (int n = 1; n <= 18; ++n)
            controls << rig.f().Command(n);
        for (int n = 1; n <= 4; ++n)
            controls << rig.f().Check(n) << rig.f().Text(n);
        controls << rig.f().Label1 << rig.f().Label3 << rig.f().Label4 << rig.f().Image1
                 << rig.f().portIndicator;
        for (const QString& item : SkinItems) {
            choose(rig, item);
            const QRegion mask = rig.f().mask();
            for (QWidget* control : controls) {
                const QRect area = seenArea(control);
                QVERIFY2(mask.intersected(area) == QRegion(area),
                         qPrintable(item + ": " + control->objectName()));
            }
        }
    }
};

QTEST_MAIN(TestSkins)
#include "test_skins.moc"
