#include "form_rig.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QRandomGenerator>
#include <QScreen>

class TestForm1 : public QObject {
    Q_OBJECT
  private slots:
    void startupShowsExactlyTheDesignedControls() {
        FormRig rig;
        rig.show();
        ui::Form1& f = rig.f();
        QCOMPARE(rig.port.values(), std::vector<int>{0});
        QCOMPARE(rig.port.writes[0].port, std::uint16_t{888});
        QCOMPARE(rig.beeper.count, 0);
        QCOMPARE(f.size(), QSize(301, 486));
        QCOMPARE(f.windowTitle(), QString("Quorvale Automation KAVO H1.10xp"));
        QVERIFY(f.windowFlags() & Qt::FramelessWindowHint);

        QStringList visible, hidden;
        for (QWidget* w : f.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isWindow() || w->objectName() == "PortWarning")
                continue;
            (w->isHidden() ? hidden : visible) << w->objectName();
        }
        visible.sort();
        hidden.sort();
        QCOMPARE(visible,
                 (QStringList{"Command1", "Command10", "Command11", "Command12", "Command14",
                              "Command16", "Command17", "Command18", "Command2", "Command3",
                              "Command4", "Command9", "Image1", "Label3", "Label4"}));
        QCOMPARE(hidden, (QStringList{"Check1",    "Check2",   "Check3",   "Check4",   "Command13",
                                      "Command15", "Command5", "Command6", "Command7", "Command8",
                                      "Label1",    "Picture1", "Picture2", "Picture3", "Picture4",
                                      "Picture5",  "Picture6", "Picture7", "Picture8", "Picture9",
                                      "Text1",     "Text2",    "Text3",    "Text4"}));
        QVERIFY(f.Label4->text().isEmpty());
        QVERIFY(f.Timer(1)->isActive());
        for (int n = 2; n <= 5; ++n)
            QVERIFY(!f.Timer(n)->isActive());
        QCOMPARE(f.Timer(2)->interval(), 10);
        QCOMPARE(f.Timer(5)->interval(), 1000);
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(f.outputRegister().ChannelOff(n), core::TrueFlag);
    }

    // A press anywhere on a visible control reaches that control, not a
    // label drawn over it (the credit label overlaps the button row).
    void controlsAreNotCoveredByLabels() {
        FormRig rig;
        rig.show();
        rig.click(12);
        for (QWidget* w : rig.f().findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isHidden() || w->isWindow() || qobject_cast<QLabel*>(w))
                continue;
            const QRect r = w->geometry();
            for (QPoint p :
                 {r.center(), r.topLeft() + QPoint(2, 2), r.bottomRight() - QPoint(2, 2)})
                QCOMPARE(rig.f().childAt(p), w);
        }
    }

    void startsCentredAndShaped() {
        FormRig rig;
        rig.show();
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QVERIFY(qAbs(rig.f().geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(rig.f().geometry().center().y() - screen.center().y()) <= 1);
        const QRegion mask = rig.f().mask();
        QVERIFY(!mask.isEmpty());
        QVERIFY(!mask.contains(QPoint(0, 0)));     // white corner
        QVERIFY(!mask.contains(QPoint(299, 484))); // strip beyond the picture
        QVERIFY(mask.contains(rig.f().Command(1)->geometry().center()));
    }

    // The sequences a user goes through, clicking the real buttons.
    void manualSwitchingSequences_data() {
        QTest::addColumn<QList<int>>("clicks"); // button numbers; 0 = Ctrl+A, -1 = Ctrl+O
        QTest::addColumn<std::vector<int>>("writes");
        QTest::addColumn<QList<bool>>("on");
        QTest::addColumn<bool>("allOnShown");
        QTest::newRow("channel 1 on") << QList<int>{1} << std::vector<int>{0, 1}
                                      << QList<bool>{true, false, false, false} << true;
        QTest::newRow("1 on, 4 on, 1 off") << QList<int>{1, 4, 5} << std::vector<int>{0, 1, 9, 8}
                                           << QList<bool>{false, false, false, true} << true;
        QTest::newRow("All On then All Off") << QList<int>{14, 15} << std::vector<int>{0, 15, 0}
                                             << QList<bool>{false, false, false, false} << true;
        QTest::newRow("All On swaps to All Off") << QList<int>{14} << std::vector<int>{0, 15}
                                                 << QList<bool>{true, true, true, true} << false;
        QTest::newRow("Ctrl+A leaves All On in view, which then writes 15 again")
            << QList<int>{0, 14} << std::vector<int>{0, 15, 15}
            << QList<bool>{true, true, true, true} << false;
        QTest::newRow("1 and 2 on, Ctrl+A writes 15 not 18")
            << QList<int>{1, 2, 0} << std::vector<int>{0, 1, 3, 15}
            << QList<bool>{true, true, true, true} << true;
        QTest::newRow("3 on, Ctrl+O twice") << QList<int>{3, -1, -1} << std::vector<int>{0, 4, 0, 0}
                                            << QList<bool>{false, false, false, false} << true;
    }
    void manualSwitchingSequences() {
        QFETCH(QList<int>, clicks);
        QFETCH(std::vector<int>, writes);
        QFETCH(QList<bool>, on);
        QFETCH(bool, allOnShown);
        FormRig rig;
        rig.show();
        for (int c : clicks) {
            if (c == 0)
                rig.key(Qt::Key_A);
            else if (c == -1)
                rig.key(Qt::Key_O);
            else
                rig.click(c);
        }
        QCOMPARE(rig.port.values(), writes);
        QCOMPARE(rig.beeper.count, clicks.size());
        for (int n = 1; n <= 4; ++n) {
            QCOMPARE(rig.shownOn(n), on[n - 1]);
            QCOMPARE(rig.f().Command(n)->isHidden(), on[n - 1]);
            QCOMPARE(rig.f().outputRegister().ChannelOff(n),
                     on[n - 1] ? core::FalseFlag : core::TrueFlag);
        }
        QCOMPARE(!rig.f().Command(14)->isHidden(), allOnShown);
        QCOMPARE(rig.f().Command(15)->isHidden(), allOnShown);
    }

    void everyClickBeepsBeforeItWrites() {
        FormRig rig;
        rig.show();
        rig.journal.clear();
        rig.click(2);
        rig.key(Qt::Key_O);
        QCOMPARE(rig.journal, (fakes::Journal{"beep", "out 2", "beep", "out 0"}));
    }

    void failedWritesStillSwitchTheFacesAndShowTheWarning() {
        FormRig rig;
        rig.show();
        rig.port.failing = true;
        rig.click(1);
        QVERIFY(rig.shownOn(1));
        QCOMPARE(rig.beeper.count, 1);
        QVERIFY(!rig.f().portIndicator->isHidden());
        QVERIFY(rig.f().portIndicator->toolTip().contains("No such device"));
        QVERIFY(rig.f().portIndicator->toolTip().contains("Plug it in."));
        QVERIFY(rig.f().mask().contains(rig.f().portIndicator->geometry()));
        rig.click(5);
        QCOMPARE(QString::fromStdString(rig.portLog.str()).count('\n'), 1); // said once
    }

    // A write that failed is delivered once the port answers again, and only
    // then: the board must end up in the state the faces show.
    void aFailedWriteIsDeliveredOnceThePortAnswers() {
        FormRig rig;
        rig.show();
        QTimer* retry = rig.model.findChild<QTimer*>("PortRetry");
        QVERIFY(retry);
        QVERIFY(!retry->isActive()); // the start-up write worked
        rig.port.failing = true;
        rig.click(1);
        rig.click(2);
        QVERIFY(retry->isActive());
        QCOMPARE(retry->interval(), 2000);
        rig.f().portWatch().PortRetry_Timer(); // still unplugged: tries, says nothing new
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 3, 3}));
        QCOMPARE(QString::fromStdString(rig.portLog.str()).count('\n'), 1);

        rig.port.failing = false;
        rig.f().portWatch().PortRetry_Timer();
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 3, 3, 3}));
        QVERIFY(!retry->isActive());
        QVERIFY(rig.f().portIndicator->isHidden());
        QVERIFY(QString::fromStdString(rig.portLog.str()).endsWith("work again.\n"));
        rig.f().portWatch().PortRetry_Timer(); // never a refresh
        QCOMPARE(rig.port.values().size(), 5u);
        QCOMPARE(rig.beeper.count, 2);
    }

    // A board that hangs in a write holds up nothing at the window: the
    // clock ticks, the About window opens, the clicks go on. The dot says
    // the board is not answering; let go, the board ends on the newest state
    // and no older one is written after it.
    void aStuckBoardLeavesTheWindowRunning() {
        auto held = std::make_unique<fakes::HeldPort>();
        fakes::HeldPort& board = *held;
        FormRig rig(std::move(held));
        rig.show();
        QTRY_COMPARE(board.values(), std::vector<int>{0});
        board.hold();
        rig.click(1);
        QTRY_VERIFY(board.inside());
        rig.click(2);
        rig.click(3);
        rig.click(5);
        rig.click(11);
        QTRY_VERIFY(rig.windowsMade == 1);
        QTRY_VERIFY(!rig.f().Label4->text().isEmpty());
        QTRY_VERIFY(!rig.f().portIndicator->isHidden());
        QVERIFY(rig.f().portIndicator->toolTip().contains("not answering"));

        board.release();
        QTRY_VERIFY(rig.f().portIndicator->isHidden());
        QCOMPARE(board.values(), (std::vector<int>{0, 1, 6}));
    }

    // Closed by the window manager while a help window stays open: the
    // program runs on for that window, but the panel writes nothing more.
    void closingByTheWindowManagerStopsItsTimers() {
        FormRig rig;
        rig.show();
        rig.click(12);
        rig.f().Text(1)->setText("17:59:59");
        rig.f().Check(1)->setCheckState(Qt::Checked);
        rig.click(17);
        rig.port.failing = true;
        rig.click(3);
        QVERIFY(rig.model.findChild<QTimer*>("PortRetry")->isActive());
        const std::size_t writes = rig.port.writes.size();

        QCloseEvent close;
        QApplication::sendEvent(rig.f().windowHandle(), &close);
        QTRY_VERIFY(rig.f().isHidden());
        rig.port.failing = false;
        rig.clock.setTime(17, 59, 59, 5);
        QTest::qWait(100);
        QCOMPARE(rig.port.writes.size(), writes);
        QVERIFY(rig.f().isUnloaded());
        QVERIFY(rig.f().guideWindow().window()->isVisible());
        for (int n = 1; n <= 5; ++n)
            QVERIFY(!rig.f().Timer(n)->isActive());
        QVERIFY(!rig.model.findChild<QTimer*>("PortRetry")->isActive());
        QVERIFY(rig.f().Label4->text().isEmpty()); // the clock stopped before its first tick
    }

    void exitWritesZeroWithoutBeepAndEnds_data() {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("button X") << false;
        QTest::newRow("menu Exit") << true;
    }
    void exitWritesZeroWithoutBeepAndEnds() {
        QFETCH(bool, fromMenu);
        FormRig rig;
        rig.show();
        rig.click(4);
        if (fromMenu)
            rig.f().findChild<QAction*>("x")->trigger();
        else
            rig.click(9);
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 8, 0}));
        QCOMPARE(rig.beeper.count, 1);
        QCOMPARE(rig.ended, 1);
        QCOMPARE(rig.f().outputRegister().ChannelOff(4), core::FalseFlag);
    }

    void menuBarHasEveryItem() {
        FormRig rig;
        QMenu* bar = rig.f().menuBar();
        QStringList structure;
        for (QAction* top : bar->actions()) {
            structure << top->text();
            if (QMenu* menu = top->menu()) {
                for (QAction* item : menu->actions())
                    structure << "  " + item->objectName() + " " + item->text() + " " +
                                     item->shortcut().toString();
            }
        }
        QCOMPARE(structure, (QStringList{"&Schduler",
                                         "  TM &Timer Mode Ctrl+T",
                                         "  SM Simple Mode Ctrl+S",
                                         "Emergency Mode",
                                         "  EMAO ALL ON Ctrl+A",
                                         "  EMAOF ALL OFF Ctrl+O",
                                         "Skin",
                                         "  Sl Acqa ",
                                         "  lg Nature ",
                                         "  CA Gold ",
                                         "  An Purple ",
                                         "  sb Sea Beach ",
                                         "  gl Bird ",
                                         "  Li Lily ",
                                         "  Bl Sky ",
                                         "Help",
                                         "  OM Operation Manual ",
                                         "  WD Wiring Diagram ",
                                         "  AD About Developer ",
                                         "E&xit"}));
        QCOMPARE(bar->actions().last()->objectName(), QString("x"));
    }

    void shortcutsWorkWhateverIsVisibleOrFocused() {
        FormRig rig;
        rig.show();
        rig.click(18); // X&P hides all ten window buttons
        rig.key(Qt::Key_T);
        QVERIFY(!rig.f().Text(1)->isHidden());
        rig.f().Text(1)->setFocus();
        rig.key(Qt::Key_A); // not "select all" in the text box
        QCOMPARE(rig.port.values().back(), 15);
        rig.key(Qt::Key_O);
        QCOMPARE(rig.port.values().back(), 0);
        rig.key(Qt::Key_S);
        QVERIFY(rig.f().Text(1)->isHidden());
    }

    void tabOrderFollowsTheDesign() {
        FormRig rig;
        rig.show();
        rig.f().Command(1)->setFocus();
        QStringList order;
        for (int i = 0; i < 12; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{"Command1", "Command2", "Command3", "Command4", "Command9",
                                     "Command10", "Command11", "Command12", "Command14",
                                     "Command16", "Command17", "Command18"}));
    }

    void closingTheWindowOtherwiseLeavesThePortAlone() {
        FormRig rig;
        rig.show();
        rig.click(3);
        rig.f().close();
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 4}));
        QCOMPARE(rig.ended, 0);
    }

    void minimiseButtonMinimises() {
        FormRig rig;
        rig.show();
        rig.click(10);
        QVERIFY(rig.f().windowState() & Qt::WindowMinimized);
        QCOMPARE(rig.beeper.count, 0);
        QCOMPARE(rig.port.values().size(), 1u);
    }

    void secondaryWindowsAreSingleAndFreshAfterClose_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("menuItem");
        QTest::addColumn<QString>("window");
        QTest::newRow("About") << 11 << "AD"
                               << "frmAbout";
        QTest::newRow("Wiring") << 16 << "WD"
                                << "frmWiring";
        QTest::newRow("Guide") << 17 << "OM"
                               << "frmOG";
    }
    void secondaryWindowsAreSingleAndFreshAfterClose() {
        QFETCH(int, button);
        QFETCH(QString, menuItem);
        QFETCH(QString, window);
        FormRig rig;
        rig.show();
        rig.click(button);
        rig.f().findChild<QAction*>(menuItem)->trigger();
        const QList<QWidget*> open = [&] {
            QList<QWidget*> found;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->objectName() == window && w->isVisible())
                    found << w;
            return found;
        }();
        QCOMPARE(open.size(), 1);
        QCOMPARE(rig.windowsMade, 1);
        QVERIFY(open[0]->parentWidget() == nullptr);
        open[0]->setProperty("state", "page 2");
        rig.click(button);
        QCOMPARE(open[0]->property("state").toString(), QString("page 2"));

        QPointer<QWidget> first = open[0];
        first->close();
        QTRY_VERIFY(first.isNull()); // discarded on close
        rig.click(button);
        QCOMPARE(rig.windowsMade, 2);
        // The main window keeps working meanwhile.
        rig.click(1);
        QCOMPARE(rig.port.values().back(), 1);
    }

    // Random runs through the real buttons and shortcuts.
    void randomClicksKeepFacesFlagsAndPortInStep() {
        FormRig rig;
        rig.show();
        QRandomGenerator random(7);
        for (int step = 0; step < 600; ++step) {
            const int channel = random.bounded(1, 5);
            switch (random.bounded(4)) {
            case 0:
                rig.click(rig.shownOn(channel) ? channel + 4 : channel);
                break;
            case 1:
                rig.click(rig.f().Command(14)->isHidden() ? 15 : 14);
                break;
            case 2:
                rig.key(random.bounded(2) ? Qt::Key_A : Qt::Key_O);
                break;
            default:
                rig.f().Timer_Timer(channel); // not armed: no switch
                break;
            }
            int sum = 0;
            for (int n = 1; n <= 4; ++n) {
                QVERIFY(rig.f().Command(n)->isHidden() != rig.f().Command(n + 4)->isHidden());
                if (rig.shownOn(n))
                    sum += core::weight(n);
                QCOMPARE(rig.f().outputRegister().ChannelOff(n),
                         rig.shownOn(n) ? core::FalseFlag : core::TrueFlag);
            }
            QCOMPARE(int(rig.f().outputRegister().PortValue()), sum);
            QCOMPARE(rig.port.values().back(), sum);
        }
    }
};

QTEST_MAIN(TestForm1)
#include "test_form1.moc"
