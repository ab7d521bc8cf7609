// Runs the real ppdev backend against the stand-in device of ppdev_shim.
#include "platform/linux/ppdev_port.h"
#include "ppdev_shim.h"

#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>

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

} // namespace

class PpdevPortTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { ppdev_shim_reset(); }
    // Whatever happened, no descriptor of the device may be left behind.
    void cleanup() { QCOMPARE(ppdev_shim_open_fds(), 0); }

    void firstWriteAndTheNext_data() {
        QTest::addColumn<ppdev_shim_state>("state");
        QTest::addColumn<QString>("firstLog");
        QTest::addColumn<int>("error");
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("fixMentions");
        QTest::addColumn<QString>("secondLog");

        const QString bindAndWrite6 = "open PPEXCL PPCLAIM PPWDATA=0x06";
        QTest::newRow("present: binds once, then only writes")
            << PPDEV_SHIM_PRESENT << "open PPEXCL PPCLAIM PPWDATA=0x05" << 0 << false << ""
            << "PPWDATA=0x06";
        QTest::newRow("no device file") << PPDEV_SHIM_ABSENT << "open!ENOENT" << ENOENT << true
                                        << "sudo modprobe ppdev" << bindAndWrite6;
        QTest::newRow("no driver or port behind the file")
            << PPDEV_SHIM_VANISHED << "open!ENODEV" << ENODEV << true << "modprobe ppdev"
            << bindAndWrite6;
        QTest::newRow("permission denied") << PPDEV_SHIM_NO_PERMISSION << "open!EACCES" << EACCES
                                           << false << "sudo adduser $USER lp" << bindAndWrite6;
        QTest::newRow("held by another driver: no claim, no wait")
            << PPDEV_SHIM_HELD << "open PPEXCL!EBUSY close" << EBUSY << false << "sudo rmmod lp"
            << bindAndWrite6;
        // The port exists: it must keep its own reason and never count as missing,
        // or the program would go around the driver that holds it.
        QTest::newRow("exclusive claim refused: another driver registered")
            << PPDEV_SHIM_CLAIM_REFUSED << "open PPEXCL PPCLAIM!ENXIO close" << ENXIO << false
            << "sudo rmmod lp" << bindAndWrite6;
    }
    void firstWriteAndTheNext() {
        QFETCH(ppdev_shim_state, state);
        QFETCH(QString, firstLog);
        QFETCH(int, error);
        QFETCH(bool, missing);
        QFETCH(QString, fixMentions);
        QFETCH(QString, secondLog);

        ppdev_shim_set_state(state);
        PpdevPort port(Device);
        QCOMPARE(ppdev_shim_open_count(), 0);

        const PortStatus first = port.PortOut(DataRegister, 0x05);
        QCOMPARE(shimLog(), firstLog);
        QCOMPARE(first.ok, error == 0);
        QCOMPARE(q(first.device), q(Device));
        const QString reason = state == PPDEV_SHIM_CLAIM_REFUSED ? "held by another driver, e.g. lp"
                               : error                           ? std::strerror(error)
                                                                 : "";
        QCOMPARE(q(first.error), reason);
        QVERIFY2(q(first.fix).contains(fixMentions), first.fix.c_str());
        QCOMPARE(port.deviceMissing(), missing);

        // Once the cause is gone the next write works, binding again if it has to.
        ppdev_shim_set_state(PPDEV_SHIM_PRESENT);
        ppdev_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x06).ok);
        QCOMPARE(shimLog(), secondLog);
        QVERIFY(!port.deviceMissing());
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
