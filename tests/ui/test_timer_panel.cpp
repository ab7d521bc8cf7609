#include "form_rig.h"
#include "scheduler/clock_label.h"
#include "ui/timer_panel.h"

#include <QAction>
#include <QLocale>

namespace {
QColor base(QLineEdit* text) {
    return text->palette().color(QPalette::Base);
}

// Types a time into row n and sets its check box, as a user would.
void arm(FormRig& rig, int row, const QString& time) {
    rig.f().Text(row)->setText(time);
    QTest::mouseClick(rig.f().Check(row), Qt::LeftButton, {}, QPoint(8, 8));
}

void tick(FormRig& rig, int row) {
    switch (row) {
    case 1:
        rig.f().Timer2_Timer();
        break;
    case 2:
        rig.f().Timer3_Timer();
        break;
    case 3:
        rig.f().Timer4_Timer();
        break;
    default:
        rig.f().Timer5_Timer();
    }
}

void verifyIdle(FormRig& rig, int row) {
    QCOMPARE(rig.f().Check(row)->checkState(), Qt::Unchecked);
    QVERIFY(!rig.f().Timer(row + 1)->isActive());
    QVERIFY(!rig.f().Text(row)->isReadOnly());
    QCOMPARE(rig.f().Text(row)->text(), QString("hh:mm:ss"));
    QCOMPARE(base(rig.f().Text(row)), QColor(255, 0, 0));
}
} // namespace

class TestTimerPanel : public QObject {
    Q_OBJECT
  private slots:
    void modeButtonsAndMenuItems_data() {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("panelShown");
        QTest::addColumn<bool>("timerModeInView");
        QTest::newRow("start") << QStringList{} << false << true;
        QTest::newRow("Timer Mode") << QStringList{"12"} << true << false;
        QTest::newRow("Timer Mode, Simple Mode") << QStringList{"12", "13"} << false << true;
        QTest::newRow("menu Timer Mode leaves the button") << QStringList{"TM"} << true << true;
        QTest::newRow("then the button changes only itself")
            << QStringList{"TM", "12"} << true << false;
        QTest::newRow("menu Simple Mode in timer mode")
            << QStringList{"12", "SM"} << false << false;
        QTest::newRow("then Simple Mode changes only the button")
            << QStringList{"12", "SM", "13"} << false << true;
        QTest::newRow("showing twice") << QStringList{"TM", "TM"} << true << true;
        QTest::newRow("a skin puts Timer Mode back, panel stays")
            << QStringList{"12", "Sl"} << true << true;
    }
    void modeButtonsAndMenuItems() {
        QFETCH(QStringList, steps);
        QFETCH(bool, panelShown);
        QFETCH(bool, timerModeInView);
        FormRig rig;
        rig.show();
        for (const QString& step : steps) {
            bool isButton = false;
            const int n = step.toInt(&isButton);
            if (isButton)
                rig.click(n);
            else
                rig.f().findChild<QAction*>(step)->trigger();
        }
        ui::Form1& f = rig.f();
        for (QWidget* w : {static_cast<QWidget*>(f.Check(1)), static_cast<QWidget*>(f.Check(4)),
                           static_cast<QWidget*>(f.Text(1)), static_cast<QWidget*>(f.Text(4)),
                           static_cast<QWidget*>(f.Label1)})
            QCOMPARE(!w->isHidden(), panelShown);
        QCOMPARE(!f.Command(12)->isHidden(), timerModeInView);
        QCOMPARE(f.Command(13)->isHidden(), timerModeInView);
        QCOMPARE(rig.beeper.count, 0);
    }

    void armingAndDisarming() {
        FormRig rig;
        rig.show();
        rig.click(12);
        verifyIdle(rig, 1);
        arm(rig, 1, "18:00:00");
        QVERIFY(rig.f().Timer(2)->isActive());
        QCOMPARE(base(rig.f().Text(1)), QColor(0, 255, 0));
        QVERIFY(rig.f().Text(1)->isReadOnly());
        QTest::keyClicks(rig.f().Text(1), "9");
        QCOMPARE(rig.f().Text(1)->text(), QString("18:00:00"));

        rig.click(13); // hiding the panel disarms nothing
        QVERIFY(rig.f().Timer(2)->isActive());
        rig.click(12);
        QVERIFY(rig.f().Text(1)->isReadOnly());

        QTest::mouseClick(rig.f().Check(1), Qt::LeftButton, {}, QPoint(8, 8));
        verifyIdle(rig, 1); // the time has to be typed again
        QCOMPARE(rig.beeper.count, 0);
    }

    // A row armed through the model (by the bus, say) shows as one armed by
    // hand and goes idle when it fires; a text refused from there leaves what
    // the user typed.
    void aRowArmedElsewhereShowsInItsRow() {
        FormRig rig;
        rig.show();
        rig.click(12);
        rig.f().Text(2)->setText("07:1");
        QVERIFY(!rig.model.requestArm(2, "6:00:00").accepted());
        QCOMPARE(rig.f().Text(2)->text(), QString("07:1"));
        QVERIFY(rig.model.requestArm(1, "17:59:59").accepted());
        QCOMPARE(rig.f().Check(1)->checkState(), Qt::Checked);
        QCOMPARE(rig.f().Text(1)->text(), QString("17:59:59"));
        QVERIFY(rig.f().Text(1)->isReadOnly());
        QCOMPARE(base(rig.f().Text(1)), QColor(0, 255, 0));
        rig.clock.setTime(17, 59, 59, 5);
        QTRY_VERIFY(rig.shownOn(1));
        verifyIdle(rig, 1);
    }

    void textsThatCanNeverFireAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("unchanged") << "hh:mm:ss";
        QTest::newRow("empty") << "";
        QTest::newRow("no leading zero") << "6:00:00";
        QTest::newRow("hour above 23") << "25:00:00";
        QTest::newRow("blanks around") << " 18:00:00 ";
    }
    void textsThatCanNeverFireAreRefused() {
        QFETCH(QString, text);
        FormRig rig;
        rig.show();
        rig.click(12);
        arm(rig, 2, text);
        QCOMPARE(rig.f().Check(2)->checkState(), Qt::Unchecked);
        QVERIFY(!rig.f().Timer(3)->isActive());
        QVERIFY(!rig.f().Text(2)->isReadOnly());
        QCOMPARE(rig.f().Text(2)->text(), text); // kept for correction
        QCOMPARE(base(rig.f().Text(2)), QColor(255, 0, 0));
        QCOMPARE(rig.beeper.count, 1);
        QCOMPARE(rig.port.values().size(), 1u);
    }

    void firesOnceOnTheArmedSecond_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QList<int>>("before"); // buttons clicked before arming
        QTest::addColumn<int>("written");
        QTest::addColumn<bool>("onAfter");
        QTest::newRow("channel 1 off goes on") << 1 << QList<int>{} << 1 << true;
        QTest::newRow("channel 1 on goes off") << 1 << QList<int>{1} << 0 << false;
        QTest::newRow("after All On it turns off: 14") << 1 << QList<int>{14} << 14 << false;
        QTest::newRow("channel 4 with other channels on") << 4 << QList<int>{2, 3} << 14 << true;
    }
    void firesOnceOnTheArmedSecond() {
        QFETCH(int, row);
        QFETCH(QList<int>, before);
        QFETCH(int, written);
        QFETCH(bool, onAfter);
        FormRig rig;
        rig.show();
        for (int b : before)
            rig.click(b);
        rig.click(12);
        arm(rig, row, "18:00:00");
        const int beeps = rig.beeper.count;
        const std::size_t writes = rig.port.writes.size();

        rig.clock.setTime(17, 59, 59, 1);
        tick(rig, row);
        QCOMPARE(rig.port.writes.size(), writes);
        rig.clock.setTime(18, 0, 0, 1);
        tick(rig, row);
        QCOMPARE(rig.port.writes.size(), writes + 1);
        QCOMPARE(rig.port.values().back(), written);
        QCOMPARE(rig.shownOn(row), onAfter);
        QCOMPARE(rig.f().outputRegister().ChannelOff(row),
                 onAfter ? core::FalseFlag : core::TrueFlag);
        QCOMPARE(rig.beeper.count, beeps); // scheduled switches are silent
        verifyIdle(rig, row);

        // The clock text stays "18:00:00" for the rest of the second.
        rig.clock.setTime(18, 0, 0, 501);
        tick(rig, row);
        QCOMPARE(rig.port.writes.size(), writes + 1);
    }

    void lateTicksAndClockSteps_data() {
        QTest::addColumn<QList<int>>("clock"); // seconds of day at arming, then at each tick
        QTest::addColumn<bool>("fires");
        QTest::newRow("late tick jumps over the armed second")
            << QList<int>{64790, 64799, 64802} << true;
        QTest::newRow("forward step over the time fires once")
            << QList<int>{61200, 61201, 64801 + 3600} << true;
        QTest::newRow("backward step does not refire the past")
            << QList<int>{64805, 64806, 61200} << false;
        QTest::newRow("armed in its own second fires at once") << QList<int>{64800, 64800} << true;
        QTest::newRow("time already passed today waits")
            << QList<int>{64900, 64901, 70000} << false;
    }
    void lateTicksAndClockSteps() {
        QFETCH(QList<int>, clock);
        QFETCH(bool, fires);
        FormRig rig;
        rig.show();
        rig.click(12);
        auto setSecond = [&](int s) { rig.clock.setTime(s / 3600, s / 60 % 60, s % 60, 1); };
        setSecond(clock[0]);
        arm(rig, 4, "18:00:00"); // 64800
        for (int i = 1; i < clock.size(); ++i) {
            setSecond(clock[i]);
            rig.f().Timer5_Timer();
        }
        QCOMPARE(rig.shownOn(4), fires);
        QCOMPARE(rig.f().Timer(5)->isActive(), !fires);
        QCOMPARE(rig.port.values().size(), fires ? 2u : 1u);
    }

    void rowsFireWhileHiddenOrMinimisedAndIndependently() {
        FormRig rig;
        rig.show();
        rig.click(12);
        arm(rig, 1, "07:30:00");
        arm(rig, 3, "07:30:00");
        rig.click(13);
        rig.click(10); // minimised
        rig.clock.setTime(7, 30, 0, 1);
        rig.f().Timer4_Timer();
        QCOMPARE(rig.port.values().back(), 4);
        QVERIFY(rig.f().Timer(2)->isActive());
        rig.f().Timer2_Timer();
        QCOMPARE(rig.port.values().back(), 5);
        QCOMPARE(rig.beeper.count, 0);
        rig.click(12);
        verifyIdle(rig, 1);
        verifyIdle(rig, 3);
    }

    void timeZoneNamesAreLeftOut_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << "HH:mm:ss"
                              << "HH:mm:ss";
        QTest::newRow("at the end") << "HH:mm:ss t"
                                    << "HH:mm:ss";
        QTest::newRow("long name in brackets") << "h:mm:ss AP (tttt)"
                                               << "h:mm:ss AP";
        QTest::newRow("in front") << "t HH:mm:ss"
                                  << "HH:mm:ss";
        QTest::newRow("in the middle") << "HH:mm t ss"
                                       << "HH:mm ss";
    }
    void timeZoneNamesAreLeftOut() {
        QFETCH(QString, format);
        QFETCH(QString, shown);
        QCOMPARE(scheduler::withoutTimeZone(format), shown);
    }

    void clockLabelFollowsTheLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::newRow("24-hour") << "de_DE"
                                 << "18:05:09";
        QTest::newRow("12-hour") << "en_US"
                                 << "6:05:09\u202fPM";
    }
    void clockLabelFollowsTheLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        const QLocale saved;
        QLocale::setDefault(QLocale(locale));
        FormRig rig;
        rig.clock.setTime(18, 5, 9, 400);
        QVERIFY(rig.f().Label4->text().isEmpty());
        rig.f().Timer1_Timer();
        QLocale::setDefault(saved);
        // Some Qt versions use a narrow no-break space before AM/PM.
        QString text = rig.f().Label4->text();
        text.replace(' ', QChar(0x202f));
        QCOMPARE(text, shown);
    }
};

QTEST_MAIN(TestTimerPanel)
#include "test_timer_panel.moc"
