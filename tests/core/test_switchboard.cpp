#include "core/switchboard.h"
#include "fakes.h"

#include <QRandomGenerator>
#include <QTest>

namespace {
struct Rig {
    fakes::Journal journal;
    fakes::RecordingPort port{&journal};
    fakes::CountingBeeper beeper{&journal};
    fakes::RecordingFaces faces{&journal};
    core::OutputRegister reg{port};
    core::Switchboard board{reg, beeper, faces};
    Rig() {
        reg.startupReset();
        journal.clear();
    }
};

QStringList toList(const fakes::Journal& journal) {
    QStringList list;
    for (const auto& line : journal)
        list << QString::fromStdString(line);
    return list;
}
} // namespace

class TestSwitchboard : public QObject {
    Q_OBJECT
  private slots:
    void stepsRunInOrder_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("written"); // what the command answers of its write
        QTest::newRow("ON button of channel 3")
            << "on3" << QStringList{"beep", "out 4", "show off3", "hide on3"} << true;
        QTest::newRow("OFF button of channel 3 from off borrows")
            << "off3" << QStringList{"beep", "show on3", "hide off3"} << false;
        QTest::newRow("all on") << "allOn"
                                << QStringList{"beep",      "out 15",    "show off1", "show off2",
                                               "show off3", "show off4", "hide on1",  "hide on2",
                                               "hide on3",  "hide on4"}
                                << true;
        QTest::newRow("all off") << "allOff"
                                 << QStringList{"beep",      "out 0",    "show on1",  "show on2",
                                                "show on3",  "show on4", "hide off1", "hide off2",
                                                "hide off3", "hide off4"}
                                 << true;
        QTest::newRow("scheduled toggle of an off channel, no beep")
            << "toggle2" << QStringList{"out 2", "hide on2", "show off2"} << true;
    }
    void stepsRunInOrder() {
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        QFETCH(bool, written);
        Rig rig;
        core::PortStatus answer;
        if (command == "on3")
            answer = rig.board.switchOn(3);
        else if (command == "off3")
            answer = rig.board.switchOff(3); // PortValue -4: nothing written
        else if (command == "allOn")
            answer = rig.board.allOn();
        else if (command == "allOff")
            answer = rig.board.allOff();
        else if (command == "toggle2")
            answer = rig.board.scheduledToggle(2);
        QCOMPARE(toList(rig.journal), expected);
        QCOMPARE(answer.ok, written);
    }

    void aCommandAnswersWithItsOwnWrite() {
        Rig rig;
        rig.port.failing = true;
        const core::PortStatus failed = rig.board.switchOn(1);
        QVERIFY(!failed.ok);
        QCOMPARE(failed.error, std::string("No such device"));
        rig.port.failing = false;
        QVERIFY(rig.board.switchOff(1).ok);
    }

    void allCommandsSetStateOutright() {
        Rig rig;
        rig.board.switchOn(1);
        rig.board.switchOn(2);
        rig.board.allOn(); // 15, not 18
        QCOMPARE(int(rig.reg.PortValue()), 15);
        rig.board.allOn();
        for (int n = 1; n <= 4; ++n)
            QCOMPARE(rig.reg.ChannelOff(n), core::FalseFlag);
        rig.board.scheduledToggle(1); // the flag agrees, so it turns channel 1 off
        QCOMPARE(rig.port.values().back(), 14);
        rig.board.allOff();
        rig.board.allOff();
        QCOMPARE(rig.port.values(), (std::vector<int>{0, 1, 3, 15, 15, 14, 0, 0}));
        QCOMPARE(rig.beeper.count, 6);
    }

    void scheduledToggleFollowsTheFlag() {
        Rig rig;
        rig.board.switchOn(4);
        rig.board.scheduledToggle(4);
        QCOMPARE(int(rig.reg.PortValue()), 0);
        QCOMPARE(rig.reg.ChannelOff(4), core::TrueFlag);
        QVERIFY(rig.faces.on[4]);
        QVERIFY(!rig.faces.off[4]);
        QCOMPARE(rig.beeper.count, 1);
    }

    // Long random runs of every command: what the faces show, the flags and
    // the last byte on the port never disagree.
    void randomSequencesKeepFacesFlagsAndPortInStep() {
        for (quint32 seed = 1; seed <= 20; ++seed) {
            QRandomGenerator random(seed);
            Rig rig;
            for (int step = 0; step < 2000; ++step) {
                const int channel = random.bounded(1, 5);
                switch (random.bounded(4)) {
                case 0: // click whichever face of the channel shows
                    rig.faces.on[channel] ? rig.board.switchOn(channel)
                                          : rig.board.switchOff(channel);
                    break;
                case 1:
                    rig.board.allOn();
                    break;
                case 2:
                    rig.board.allOff();
                    break;
                default:
                    rig.board.scheduledToggle(channel);
                }
                int sum = 0;
                for (int n = 1; n <= 4; ++n) {
                    QVERIFY(rig.faces.on[n] != rig.faces.off[n]);
                    if (rig.faces.off[n])
                        sum += core::weight(n);
                    QCOMPARE(rig.reg.ChannelOff(n),
                             rig.faces.on[n] ? core::TrueFlag : core::FalseFlag);
                }
                QCOMPARE(int(rig.reg.PortValue()), sum);
                QCOMPARE(int(rig.port.writes.back().value), sum);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestSwitchboard)
#include "test_switchboard.moc"
