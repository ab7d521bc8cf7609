// The LCUS serial backend through the real QtSerialPort, against a
// pseudo-terminal standing in for the CH340: the exact frames for start-up,
// each switch, All On/Off and exit, and a board that is unplugged; and what
// the errors a pseudo-terminal cannot be made to give are reported as.
#include "platform/device_error.h"
#include "platform/serialport/serial_error.h"
#include "platform/serialport/serial_relay_port.h"
#include "pty_pair.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <unistd.h>

using core::PortStatus;
using platform::SerialRelayPort;
using Step = platform::DeviceStep;

namespace {

constexpr std::uint16_t DataRegister = 888;

QString frames(const QStringList& names) {
    // "1+" is relay 1 on, "3-" relay 3 off.
    QStringList bytes;
    for (const QString& name : names) {
        const int relay = name.left(1).toInt();
        const int on = name.endsWith('+') ? 1 : 0;
        bytes << QString("a0 %1 %2 %3")
                     .arg(relay, 2, 16, QChar('0'))
                     .arg(on, 2, 16, QChar('0'))
                     .arg(0xA0 + relay + on, 2, 16, QChar('0'));
    }
    return bytes.join(' ');
}

} // namespace

class SerialRelayPortTest : public QObject {
    Q_OBJECT

  private slots:
    void framesForEachWrite_data() {
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QList<QStringList>>("sent"); // per byte, in order

        using L = QStringList;
        const L allOff{"1-", "2-", "3-", "4-"};
        QTest::newRow("start-up writes 0: every relay off") << QList<int>{0} << QList<L>{allOff};
        QTest::newRow("channel 1 on and off")
            << QList<int>{0, 1, 0} << QList<L>{allOff, {"1+"}, {"1-"}};
        QTest::newRow("All On, All Off")
            << QList<int>{0, 15, 0}
            << QList<L>{allOff, {"1+", "2+", "3+", "4+"}, {"1-", "2-", "3-", "4-"}};
        QTest::newRow("All On after channel 2: only the others")
            << QList<int>{0, 2, 15} << QList<L>{allOff, {"2+"}, {"1+", "3+", "4+"}};
        QTest::newRow("exit with channels 2 and 4 on")
            << QList<int>{0, 2, 10, 0} << QList<L>{allOff, {"2+"}, {"4+"}, {"2-", "4-"}};
        QTest::newRow("bits 4 to 7 drive nothing")
            << QList<int>{0, 16, 0x31} << QList<L>{allOff, {}, {"1+"}};
        QTest::newRow("the same byte again sends nothing")
            << QList<int>{5, 5} << QList<L>{{"1+", "2-", "3+", "4-"}, {}};
    }
    void framesForEachWrite() {
        QFETCH(QList<int>, bytes);
        QFETCH(QList<QStringList>, sent);

        PtyPair pty;
        QVERIFY(pty.ok());
        SerialRelayPort port(pty.path().toStdString());
        QCOMPARE(hex(pty.readAll()), QString()); // nothing before the first write
        for (int i = 0; i < bytes.size(); ++i) {
            const PortStatus status =
                port.PortOut(DataRegister, static_cast<std::uint8_t>(bytes[i]));
            QVERIFY2(status.ok, status.describe().c_str());
            QCOMPARE(QString::fromStdString(status.device), pty.path());
            // The write returns once its frames have left.
            QCOMPARE(hex(pty.readAll()), frames(sent[i]));
        }
    }

    void recoversWhenUnpluggedAndPluggedInAgain() {
        // The board's device is a link, as a udev rule would make it, so a
        // new pseudo-terminal can take the old one's place.
        QTemporaryDir dir;
        const QString link = dir.filePath("ttyRelay");
        auto first = std::make_unique<PtyPair>();
        QVERIFY(QFile::link(first->path(), link));
        SerialRelayPort port(link.toStdString());
        QVERIFY(port.PortOut(DataRegister, 0x01).ok);
        QCOMPARE(hex(first->readAll()), frames({"1+", "2-", "3-", "4-"}));

        first->unplug();
        const PortStatus lost = port.PortOut(DataRegister, 0x03);
        QVERIFY(!lost.ok);
        QCOMPARE(QString::fromStdString(lost.device), link);
        QVERIFY(!lost.error.empty());
        QVERIFY2(QString::fromStdString(lost.fix).contains("plugged in"), lost.fix.c_str());

        // Still away: the device is gone altogether now.
        const PortStatus away = port.PortOut(DataRegister, 0x03);
        QVERIFY(!away.ok);
        QVERIFY2(QString::fromStdString(away.fix).contains("--list-boards"), away.fix.c_str());

        PtyPair second;
        QVERIFY(QFile::remove(link) && QFile::link(second.path(), link));
        QVERIFY(port.PortOut(DataRegister, 0x03).ok);
        QCOMPARE(hex(second.readAll()), frames({"1+", "2+", "3-", "4-"}));
        QVERIFY(port.PortOut(DataRegister, 0x02).ok);
        QCOMPARE(hex(second.readAll()), frames({"1-"}));
    }

    // QSerialPort's lock keeps a second panel off the port; the refusal
    // names the panel that has it, and the port is taken once it is free.
    void aPortAnotherPanelHasIsRefusedUntilItIsFree() {
        PtyPair pty;
        QVERIFY(pty.ok());
        auto first = std::make_unique<SerialRelayPort>(pty.path().toStdString());
        QVERIFY(first->PortOut(DataRegister, 0x01).ok);
        SerialRelayPort second(pty.path().toStdString());
        const PortStatus refused = second.PortOut(DataRegister, 0x00);
        QVERIFY(!refused.ok);
        const QString name = QString::fromLocal8Bit(program_invocation_short_name).left(15);
        QCOMPARE(QString::fromStdString(refused.error),
                 QString("in use by another program (%1, pid %2)").arg(name).arg(::getpid()));
        QCOMPARE(QString::fromStdString(refused.fix),
                 "Close the other program, or use another board.");

        first.reset();
        pty.readAll();
        QVERIFY(second.PortOut(DataRegister, 0x00).ok);
        QCOMPARE(hex(pty.readAll()), frames({"1-", "2-", "3-", "4-"}));
    }

    void aMissingDeviceIsReportedWithItsFix() {
        SerialRelayPort port("/dev/kavo-no-such-tty");
        const PortStatus status = port.PortOut(DataRegister, 0x00);
        QVERIFY(!status.ok);
        QCOMPARE(QString::fromStdString(status.device), "/dev/kavo-no-such-tty");
        QVERIFY2(QString::fromStdString(status.fix).contains("--list-boards"), status.fix.c_str());
    }

    // The errors a pseudo-terminal cannot be made to give, as the user is told them.
    void portErrorsAreReportedAsWhatTheyAre_data() {
        QTest::addColumn<QSerialPort::SerialPortError>("error");
        QTest::addColumn<QString>("message"); // the port's errorString()
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("fixStart");
        QTest::addColumn<QString>("fixMentions");

        const QString udevRule = QString::fromStdString(
            platform::deviceFix(platform::DeviceKind::HidBoard, EACCES, Step::Opening));
        QTest::newRow("refused: the udev rule as for a HID board, or the group dialout")
            << QSerialPort::PermissionError << "Permission denied"
            << "Permission denied" << udevRule << "sudo adduser $USER dialout";
        QTest::newRow("open already, in this program: no other program to close")
            << QSerialPort::OpenError << "Device is already open"
            << "the port is already open in this program"
            << ""
            << "restart the panel";
    }
    void portErrorsAreReportedAsWhatTheyAre() {
        QFETCH(QSerialPort::SerialPortError, error);
        QFETCH(QString, message);
        QFETCH(QString, reason);
        QFETCH(QString, fixStart);
        QFETCH(QString, fixMentions);

        const PortStatus status =
            platform::serialFailure("/dev/ttyUSB0", error, message.toStdString(), Step::Opening);
        QVERIFY(!status.ok);
        QCOMPARE(QString::fromStdString(status.device), "/dev/ttyUSB0");
        QCOMPARE(QString::fromStdString(status.error), reason);
        const QString fix = QString::fromStdString(status.fix);
        QVERIFY2(fix.startsWith(fixStart) && fix.contains(fixMentions), status.fix.c_str());
    }
};

QTEST_GUILESS_MAIN(SerialRelayPortTest)
#include "serial_relay_port_test.moc"
