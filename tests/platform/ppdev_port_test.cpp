// Runs the real ppdev backend against the stand-in device of ppdev_shim.
#include "platform/linux/ppdev_port.h"
#include "ppdev_shim.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using core::PortStatus;
using platform::PpdevPort;

Q_DECLARE_METATYPE(ppdev_shim_state)

namespace {

const std::string Device = PPDEV_SHIM_PREFIX "parport0";
constexpr std::uint16_t DataRegister = 888;

QString shimLog() {
    return QString::fromLatin1(ppdev_shim_log());
}
QString q(const std::string& text) {
    return QString::fromStdString(text);
}
// What a port held by process `pid` of this program is refused as.
QString inUseBy(pid_t pid) {
    const QString name = QString::fromLocal8Bit(program_invocation_short_name).left(15);
    return QString("in use by another program (%1, pid %2)").arg(name).arg(pid);
}

} // namespace

class PpdevPortTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ppdev_shim_reset(); }
    // Whatever happened, no descriptor of the device may be left behind.
    void cleanup() { QCOMPARE(ppdev_shim_open_fds(), 0); }

    void firstWriteAndTheNext_data() {
        QTest::addColumn<ppdev_shim_state>("state");
        QTest::addColumn<bool>("lpLoaded");
        QTest::addColumn<QString>("firstLog");
        QTest::addColumn<QString>("reason"); // empty: the write works
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("fixMentions");
        QTest::addColumn<QString>("secondLog");

        const QString bindAndWrite6 = "open PPEXCL PPCLAIM PPWDATA=0x06";
        const QString unknownHolder = "held by another driver or program";
        QTest::newRow("present: binds once, then only writes")
            << PPDEV_SHIM_PRESENT << false << "open PPEXCL PPCLAIM PPWDATA=0x05"
            << "" << false << ""
            << "PPWDATA=0x06";
        QTest::newRow("no device file")
            << PPDEV_SHIM_ABSENT << false << "open!ENOENT" << QString(std::strerror(ENOENT)) << true
            << "sudo modprobe ppdev" << bindAndWrite6;
        QTest::newRow("no driver or port behind the file")
            << PPDEV_SHIM_VANISHED << false << "open!ENODEV" << QString(std::strerror(ENODEV))
            << true << "modprobe ppdev" << bindAndWrite6;
        QTest::newRow("permission denied")
            << PPDEV_SHIM_NO_PERMISSION << false << "open!EACCES" << QString(std::strerror(EACCES))
            << false << "sudo adduser $USER lp" << bindAndWrite6;
        QTest::newRow("held, no claim, no wait: holder unknown")
            << PPDEV_SHIM_HELD << false << "open PPEXCL!EBUSY close" << unknownHolder << false
            << "lsmod" << bindAndWrite6;
        // The port exists: it must keep its own reason and never count as missing,
        // or the program would go around the driver that holds it.
        QTest::newRow("exclusive claim refused: the printer driver is loaded")
            << PPDEV_SHIM_CLAIM_REFUSED << true << "open PPEXCL PPCLAIM!ENXIO close"
            << "held by the printer driver lp" << false << "sudo rmmod lp" << bindAndWrite6;
        QTest::newRow("exclusive claim refused: holder unknown")
            << PPDEV_SHIM_CLAIM_REFUSED << false << "open PPEXCL PPCLAIM!ENXIO close"
            << unknownHolder << false << "lsmod" << bindAndWrite6;
    }
    void firstWriteAndTheNext() {
        QFETCH(ppdev_shim_state, state);
        QFETCH(bool, lpLoaded);
        QFETCH(QString, firstLog);
        QFETCH(QString, reason);
        QFETCH(bool, missing);
        QFETCH(QString, fixMentions);
        QFETCH(QString, secondLog);

        ppdev_shim_set_state(state);
        const QTemporaryDir loaded; // stands for /sys/module/lp
        PpdevPort port(Device, (lpLoaded ? loaded.path() : loaded.filePath("lp")).toStdString());
        QCOMPARE(ppdev_shim_open_count(), 0);

        const PortStatus first = port.PortOut(DataRegister, 0x05);
        QCOMPARE(shimLog(), firstLog);
        QCOMPARE(first.ok, reason.isEmpty());
        QCOMPARE(q(first.device), q(Device));
        QCOMPARE(q(first.error), reason);
        QVERIFY2(q(first.fix).contains(fixMentions), first.fix.c_str());
        // Only the printer driver is the user's to unload.
        QCOMPARE(q(first.fix).contains("rmmod lp"), lpLoaded);
        QCOMPARE(port.deviceMissing(), missing);

        // Once the cause is gone the next write works, binding again if it has to.
        ppdev_shim_set_state(PPDEV_SHIM_PRESENT);
        ppdev_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x06).ok);
        QCOMPARE(shimLog(), secondLog);
        QVERIFY(!port.deviceMissing());
    }

    // Two panels on one port: the second is refused before it claims or
    // writes anything, names the first, and takes the port once it is free.
    void aSecondPanelWaitsForTheFirst() {
        auto first = std::make_unique<PpdevPort>(Device);
        QVERIFY(first->PortOut(DataRegister, 0x05).ok);
        PpdevPort second(Device);
        ppdev_shim_clear_log();
        const PortStatus refused = second.PortOut(DataRegister, 0x00);
        QVERIFY(!refused.ok);
        QCOMPARE(q(refused.error), inUseBy(::getpid()));
        QCOMPARE(q(refused.fix), "Close the other program, or use another board.");
        QVERIFY(!second.deviceMissing());
        QCOMPARE(shimLog(), "open close");

        first.reset();
        ppdev_shim_clear_log();
        QVERIFY(second.PortOut(DataRegister, 0x00).ok);
        QCOMPARE(shimLog(), "open PPEXCL PPCLAIM PPWDATA=0x00");
    }

    // A claim refused while another program has the port open names that
    // program, even where the printer driver is loaded as well.
    void aClaimRefusedNamesTheProgramThatHasThePort() {
        const int held = ::open(Device.c_str(), O_RDWR | O_CLOEXEC);
        QVERIFY(held >= 0);
        const pid_t other = ::fork();
        if (other == 0) {
            for (;;)
                ::pause(); // keeps the port open until killed
        }
        ::close(held);
        QVERIFY(other > 0);

        ppdev_shim_set_state(PPDEV_SHIM_CLAIM_REFUSED);
        const QTemporaryDir lpLoaded;
        PpdevPort port(Device, lpLoaded.path().toStdString());
        const PortStatus refused = port.PortOut(DataRegister, 0x00);
        ::kill(other, SIGKILL);
        ::waitpid(other, nullptr, 0);
        QCOMPARE(q(refused.error), inUseBy(other));
        QVERIFY2(!q(refused.fix).contains("rmmod"), refused.fix.c_str());
    }

    void recoversWhenThePortVanishesAndReturns() {
        PpdevPort port(Device);
        QVERIFY(port.PortOut(DataRegister, 0x01).ok);

        ppdev_shim_set_state(PPDEV_SHIM_VANISHED);
        ppdev_shim_clear_log();
        const PortStatus lost = port.PortOut(DataRegister, 0x02);
        QVERIFY(!lost.ok);
        QCOMPARE(q(lost.error), QString(std::strerror(ENODEV)));
        QVERIFY(port.deviceMissing());
        QCOMPARE(shimLog(), "PPWDATA=0x02!ENODEV PPRELEASE!ENODEV close");
        QCOMPARE(ppdev_shim_open_fds(), 0);

        ppdev_shim_clear_log();
        QVERIFY(!port.PortOut(DataRegister, 0x03).ok);
        QCOMPARE(shimLog(), "open!ENODEV");

        ppdev_shim_set_state(PPDEV_SHIM_PRESENT);
        ppdev_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x04).ok);
        QCOMPARE(shimLog(), "open PPEXCL PPCLAIM PPWDATA=0x04");
        QCOMPARE(ppdev_shim_open_count(), 3);
    }

    void destructionReleasesWhatIsHeld_data() {
        QTest::addColumn<bool>("write");
        QTest::addColumn<ppdev_shim_state>("state");
        QTest::addColumn<QString>("expectedLog");

        QTest::newRow("never written") << false << PPDEV_SHIM_PRESENT << "";
        QTest::newRow("bound") << true << PPDEV_SHIM_PRESENT << "PPRELEASE close";
        QTest::newRow("after a failed bind") << true << PPDEV_SHIM_HELD << "";
    }
    void destructionReleasesWhatIsHeld() {
        QFETCH(bool, write);
        QFETCH(ppdev_shim_state, state);
        QFETCH(QString, expectedLog);

        ppdev_shim_set_state(state);
        auto port = std::make_unique<PpdevPort>(Device);
        if (write)
            port->PortOut(DataRegister, 0x01);
        ppdev_shim_clear_log();
        port.reset();
        QCOMPARE(shimLog(), expectedLog);
    }
};

QTEST_APPLESS_MAIN(PpdevPortTest)
#include "ppdev_port_test.moc"
