// The USB HID backend with the real hidapi (hidraw backend) underneath,
// against the stand-in boards of hidraw_shim: finding the board, what reaches
// it for each byte, and every way it can fail and recover.
#include "hidraw_shim.h"
#include "platform/hidapi/hid_relay_port.h"
#include "platform/hidapi/hidapi_transport.h"
#include "platform/qt/device_thread.h"

#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <memory>
#include <thread>
#include <unistd.h>

using core::PortStatus;
using platform::HidRelayPort;

Q_DECLARE_METATYPE(hidraw_shim_state)

namespace {

constexpr std::uint16_t DataRegister = 888;

QString shimLog() {
    return QString::fromLatin1(hidraw_shim_log());
}
QString q(const std::string& text) {
    return QString::fromStdString(text);
}
std::string device(int board) {
    return hidraw_shim_device(board);
}

} // namespace

class HidRelayPortTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { hidraw_shim_reset(); }
    void cleanup() { QCOMPARE(hidraw_shim_open_fds(), 0); }

    void bindsOnTheFirstWriteAndSetsEveryRelay() {
        const int keyboard = hidraw_shim_plug(HIDRAW_SHIM_KEYBOARD, 0, nullptr, nullptr);
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        hidraw_shim_set_relays(board, 0x06);
        {
            HidRelayPort port("");
            QCOMPARE(shimLog(), ""); // nothing is touched before the first write

            const PortStatus first = port.PortOut(DataRegister, 0x00);
            QVERIFY2(first.ok, first.describe().c_str());
            QCOMPARE(q(first.device), q(device(board)));
            // The panel's own lock on the device comes first.
            QCOMPARE(shimLog(), "open flock open SFEATURE fc 00 GFEATURE");
            QCOMPARE(hidraw_shim_relays(board), 0u);

            hidraw_shim_clear_log();
            QVERIFY(port.PortOut(DataRegister, 0x01).ok);
            QVERIFY(port.PortOut(DataRegister, 0x05).ok);
            QVERIFY(port.PortOut(DataRegister, 0xF5).ok); // bits 4..7 drive nothing
            QCOMPARE(shimLog(), "SFEATURE ff 01 GFEATURE SFEATURE ff 03 GFEATURE GFEATURE");
            QCOMPARE(hidraw_shim_relays(board), 0x05u);
            hidraw_shim_clear_log();
        }
        QCOMPARE(shimLog(), "close close");
        Q_UNUSED(keyboard);
    }

    // A USBRelay board tells its relays: reading them writes nothing, and the
    // next byte switches only what differs. The other families cannot tell.
    void readsTheRelaysOfABoardThatTells() {
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        hidraw_shim_set_relays(board, 0x05);
        HidRelayPort port("");
        const core::OutputsRead read = port.ReadOutputs();
        QVERIFY(read.canRead);
        QVERIFY2(read.status.ok, read.status.describe().c_str());
        QCOMPARE(read.value, 0x05u);
        QCOMPARE(shimLog(), "open flock open GFEATURE");
        hidraw_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x04).ok);
        QCOMPARE(shimLog(), "SFEATURE fd 01 GFEATURE");

        hidraw_shim_plug(HIDRAW_SHIM_HIDRELAY, 4, nullptr, nullptr);
        QVERIFY(!HidRelayPort(device(1)).ReadOutputs().canRead);
    }

    void picksTheBoardTheSelectorNames_data() {
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("chosen"); // -1: none, the write fails
        QTest::addColumn<QString>("errorMentions");
        QTest::addColumn<QString>("fixMentions");

        // Boards 0 and 1 share an ID, board 2 has one of its own.
        QTest::newRow("the first") << "" << 0 << ""
                                   << "";
        QTest::newRow("by its own ID") << "ZXCVB" << 2 << ""
                                       << "";
        QTest::newRow("by device") << QString(HIDRAW_SHIM_PREFIX "dev/hidraw1") << 1 << ""
                                   << "";
        QTest::newRow("a shared ID is refused")
            << "QAWEZ" << -1 << "2 boards have the ID QAWEZ"
            << "--board=usb-hid:" HIDRAW_SHIM_PREFIX "dev/hidraw0";
        QTest::newRow("an ID nobody has")
            << "NOONE" << -1 << "no USB HID relay board has the ID NOONE"
            << "--list-boards";
        QTest::newRow("a device that is not there")
            << QString(HIDRAW_SHIM_PREFIX "dev/hidraw9") << -1 << "no USB HID relay board"
            << "--list-boards";
    }
    void picksTheBoardTheSelectorNames() {
        QFETCH(QString, selector);
        QFETCH(int, chosen);
        QFETCH(QString, errorMentions);
        QFETCH(QString, fixMentions);

        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 2, "QAWEZ", nullptr);
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 8, "ZXCVB", nullptr);
        HidRelayPort port(selector.toStdString());
        const PortStatus status = port.PortOut(DataRegister, 0x01);
        QCOMPARE(status.ok, chosen >= 0);
        for (int board = 0; board < 3; ++board)
            QCOMPARE(hidraw_shim_relays(board), board == chosen ? 1u : 0u);
        if (chosen < 0) {
            QVERIFY2(q(status.error).contains(errorMentions), status.error.c_str());
            QVERIFY2(q(status.fix).contains(fixMentions), status.fix.c_str());
            // Nothing was switched on any board.
            QVERIFY2(!shimLog().contains("SFEATURE"), qPrintable(shimLog()));
        }
    }

    void failuresCarryTheReasonAndTheFix_data() {
        QTest::addColumn<hidraw_shim_state>("state");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("fixMentions");

        QTest::newRow("permission denied")
            << HIDRAW_SHIM_NO_PERMISSION << QString(std::strerror(EACCES))
            << "70-kavo-panel-relay-boards.rules";
        QTest::newRow("nothing plugged in")
            << HIDRAW_SHIM_UNPLUGGED << "no USB HID relay board is plugged in"
            << "Plug in the board";
    }
    void failuresCarryTheReasonAndTheFix() {
        QFETCH(hidraw_shim_state, state);
        QFETCH(QString, error);
        QFETCH(QString, fixMentions);

        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        hidraw_shim_set_state(board, state);
        HidRelayPort port("");
        const PortStatus failed = port.PortOut(DataRegister, 0x00);
        QVERIFY(!failed.ok);
        QCOMPARE(q(failed.error), error);
        QVERIFY2(q(failed.fix).contains(fixMentions), failed.fix.c_str());

        // Once the cause is gone, the next write (the panel's retry) works.
        hidraw_shim_set_state(board, HIDRAW_SHIM_PRESENT);
        hidraw_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x00).ok);
        QCOMPARE(shimLog(), "open flock open SFEATURE fc 00 GFEATURE");
    }

    void recoversWhenUnpluggedAndPluggedInAgain() {
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        HidRelayPort port("QAWEZ");
        QVERIFY(port.PortOut(DataRegister, 0x01).ok);

        hidraw_shim_set_state(board, HIDRAW_SHIM_UNPLUGGED);
        hidraw_shim_clear_log();
        const PortStatus lost = port.PortOut(DataRegister, 0x03);
        QVERIFY(!lost.ok);
        QCOMPARE(q(lost.device), q(device(board)));
        QCOMPARE(q(lost.error), QString(std::strerror(ENODEV)));
        QVERIFY2(q(lost.fix).contains("plugged in"), lost.fix.c_str());
        QCOMPARE(shimLog(), "SFEATURE ff 02!ENODEV close close");

        QVERIFY(!port.PortOut(DataRegister, 0x03).ok); // still away

        // Plugged in again it starts with its relays off; all are set again.
        hidraw_shim_set_state(board, HIDRAW_SHIM_PRESENT);
        hidraw_shim_set_relays(board, 0x00);
        hidraw_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x03).ok);
        // (The first open only reads the board's ID, to find it.)
        QCOMPARE(shimLog(), "open GFEATURE close open flock open SFEATURE ff 01 SFEATURE ff 02 "
                            "SFEATURE fd 03 SFEATURE fd 04 GFEATURE");
        QCOMPARE(hidraw_shim_relays(board), 0x03u);
    }

    void aRelayThatDoesNotFollowIsReported() {
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        HidRelayPort port("");
        QVERIFY(port.PortOut(DataRegister, 0x00).ok);
        hidraw_shim_stick(board, 0x04);

        const PortStatus stuck = port.PortOut(DataRegister, 0x04);
        QVERIFY(!stuck.ok);
        QCOMPARE(q(stuck.error), "the board reports relay 3 off, not as written");
        QVERIFY2(q(stuck.fix).contains("relay"), stuck.fix.c_str());

        hidraw_shim_stick(board, 0);
        QVERIFY(port.PortOut(DataRegister, 0x04).ok);
        QCOMPARE(hidraw_shim_relays(board), 0x04u);
    }

    void writeOnlyBoards_data() {
        QTest::addColumn<int>("family");
        QTest::addColumn<QString>("openLog");
        QTest::addColumn<QString>("channel1Log");

        QTest::newRow("HIDRelay") << int(HIDRAW_SHIM_HIDRELAY) << "open flock open WRITE 09"
                                  << "WRITE f1";
        QTest::newRow("LCUS HID")
            << int(HIDRAW_SHIM_LCUS)
            << "open flock open WRITE a0 01 00 a1 WRITE a0 02 00 a2 WRITE a0 03 00 a3 WRITE a0 "
               "04 00 a4"
            << "WRITE a0 01 01 a2";
    }
    void writeOnlyBoards() {
        QFETCH(int, family);
        QFETCH(QString, openLog);
        QFETCH(QString, channel1Log);

        const int board =
            hidraw_shim_plug(static_cast<hidraw_shim_family>(family), 4, nullptr, "A0001");
        HidRelayPort port("");
        QVERIFY(port.PortOut(DataRegister, 0x00).ok);
        QCOMPARE(shimLog(), openLog);
        hidraw_shim_clear_log();
        QVERIFY(port.PortOut(DataRegister, 0x01).ok);
        QCOMPARE(shimLog(), channel1Log);
        QCOMPARE(hidraw_shim_relays(board), 0x01u);
    }

    // A board that hangs holds only the device thread: its write is answered
    // "not answering", and once the board gives up the newest state is set
    // on a board opened afresh.
    void aHangingBoardHoldsOnlyTheDeviceThread() {
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        platform::DeviceThread device(std::make_unique<HidRelayPort>(""), "usb-hid");
        QSignalSpy answered(&device, &platform::DeviceThread::answered);
        std::vector<PortStatus> outcomes;
        device.setObserver([&](const PortStatus& status) { outcomes.push_back(status); });
        device.PortOut(DataRegister, 0x00);
        QTRY_COMPARE(answered.size(), 1);

        hidraw_shim_set_state(board, HIDRAW_SHIM_HANGING);
        for (std::uint8_t value : {0x01, 0x02, 0x03})
            device.PortOut(DataRegister, value);
        QTRY_COMPARE(answered.size(), 2);
        QCOMPARE(answered[1][1].value<PortStatus>().error, "not answering");

        hidraw_shim_release(); // the stuck write fails; only 0x03 was left waiting
        QTRY_COMPARE(outcomes.size(), 4u);
        QVERIFY(!outcomes[2].ok);
        QVERIFY2(outcomes[3].ok, outcomes[3].describe().c_str());
        QCOMPARE(hidraw_shim_relays(board), 0x03u);
        QVERIFY2(shimLog().endsWith("open flock open SFEATURE ff 01 SFEATURE ff 02 SFEATURE fd 03 "
                                    "SFEATURE fd 04 GFEATURE"),
                 qPrintable(shimLog()));
        QVERIFY(device.finish());
    }

    // hidraw lets any number of programs open a board: the lock keeps a
    // second panel from switching off what the first one shows as on.
    void aSecondPanelIsRefusedUntilTheFirstCloses() {
        const int board = hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        auto first = std::make_unique<HidRelayPort>("");
        QVERIFY(first->PortOut(DataRegister, 0x01).ok);
        HidRelayPort second("");
        hidraw_shim_clear_log();
        const PortStatus refused = second.PortOut(DataRegister, 0x00);
        QVERIFY(!refused.ok);
        const QString name = QString::fromLocal8Bit(program_invocation_short_name).left(15);
        QCOMPARE(q(refused.error),
                 QString("in use by another program (%1, pid %2)").arg(name).arg(::getpid()));
        QCOMPARE(q(refused.fix), "Close the other program, or use another board.");
        QCOMPARE(shimLog(), "open flock!EWOULDBLOCK close");
        QCOMPARE(hidraw_shim_relays(board), 0x01u);

        first.reset();
        QVERIFY(second.PortOut(DataRegister, 0x00).ok);
        QCOMPARE(hidraw_shim_relays(board), 0x00u);
    }

    void enumerationListsRelayBoardsInDeviceOrder() {
        for (int i = 0; i < 11; ++i)
            hidraw_shim_plug(i == 3 ? HIDRAW_SHIM_KEYBOARD : HIDRAW_SHIM_USBRELAY, 2,
                             ("ID" + std::to_string(100 + i)).c_str(), nullptr);
        const auto boards = platform::findHidBoards(true);
        QCOMPARE(int(boards.size()), 10);
        QCOMPARE(q(boards[2].path), q(device(2)));
        QCOMPARE(q(boards[3].path), q(device(4))); // the keyboard is left out
        QCOMPARE(q(boards[9].path), q(device(10)));
        QCOMPARE(q(boards[9].id), "ID110");
        QCOMPARE(q(boards[9].model.name), "USBRelay2");
        QVERIFY(!shimLog().contains("FEATURE ff") && !shimLog().contains("FEATURE fd"));
    }
};

QTEST_GUILESS_MAIN(HidRelayPortTest)
#include "hid_relay_port_test.moc"
