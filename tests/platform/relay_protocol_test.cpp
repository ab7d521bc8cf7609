// The relay boards' protocols against fake transports that behave like the
// boards' firmware: which reports go out for each output byte, the read-back
// check, and what happens when a board fails or does not follow.
#include "platform/relay/hid_relay_protocol.h"
#include "platform/relay/lcus_protocol.h"
#include "platform/relay/relay_switcher.h"

#include <QTest>

#include <cerrno>
#include <memory>

using namespace platform::relay;

namespace {

QString hex(std::span<const std::uint8_t> bytes) {
    QStringList parts;
    for (std::uint8_t b : bytes)
        parts << QString("%1").arg(b, 2, 16, QChar('0'));
    return parts.join(' ');
}

// A HID relay board's firmware behind a transport. USBRelay boards take
// feature reports and report their relays; HIDRelay and LCUS boards take
// output reports. Every report is logged, without its report number.
class FakeBoard : public HidTransport {
  public:
    FakeBoard(HidBoardFamily family, int relays) : family_(family), relays_(relays) {}

    IoResult sendFeatureReport(std::span<const std::uint8_t> report) override {
        log << "F:" + hex(report.subspan(1, 2));
        if (const IoResult broken = fault(); !broken.ok)
            return broken;
        if (family_ != HidBoardFamily::UsbRelay || report.size() != 9 || report[0] != 0)
            return IoResult::failure(EPIPE, "Broken pipe");
        const std::uint8_t all = boardMask(relays_);
        switch (report[1]) {
        case 0xFF:
            set(report[2], true);
            break;
        case 0xFD:
            set(report[2], false);
            break;
        case 0xFE:
            follow(all, all);
            break;
        case 0xFC:
            follow(0, all);
            break;
        }
        return IoResult::success();
    }
    IoResult getFeatureReport(std::span<std::uint8_t> report, std::size_t& received) override {
        log << "G";
        if (const IoResult broken = fault(); !broken.ok)
            return broken;
        const std::uint8_t answer[9] = {0, 'Q', 'W', 'E', 'R', 'T', 0, 0, relays};
        received = std::min(report.size(), shortAnswer ? std::size_t{4} : sizeof answer);
        std::copy_n(answer, received, report.begin());
        return IoResult::success();
    }
    IoResult writeOutputReport(std::span<const std::uint8_t> report) override {
        log << "W:" + hex(report.subspan(1, family_ == HidBoardFamily::LcusHid ? 4 : 1));
        if (const IoResult broken = fault(); !broken.ok)
            return broken;
        if (family_ == HidBoardFamily::HidRelay) {
            const std::uint8_t command = report[1];
            if (command == 0xF9 || command == 0x09)
                follow(command == 0xF9 ? 0xFF : 0, 0xFF);
            else
                set(command & 0x0F, (command & 0xF0) == 0xF0);
        } else if (family_ == HidBoardFamily::LcusHid && report.size() == 5) {
            if (static_cast<std::uint8_t>(report[1] + report[2] + report[3]) == report[4])
                set(report[2], report[3] == 1);
        }
        return IoResult::success();
    }

    std::uint8_t relays = 0;
    std::uint8_t stuck = 0;   // relays that no longer follow
    int failAfter = -1;       // exchanges that still work before the board goes away
    bool shortAnswer = false; // answers the status request with a truncated report
    QStringList log;

  private:
    IoResult fault() {
        if (failAfter == 0)
            return IoResult::failure(ENODEV, "No such device");
        if (failAfter > 0)
            --failAfter;
        return IoResult::success();
    }
    void set(int relay, bool on) {
        if (relay >= 1 && relay <= relays_)
            follow(on ? 1u << (relay - 1) : 0, 1u << (relay - 1));
    }
    void follow(unsigned on, unsigned affected) {
        affected &= boardMask(relays_) & ~stuck;
        relays = static_cast<std::uint8_t>((relays & ~affected) | (on & affected));
    }

    HidBoardFamily family_;
    int relays_;
};

struct Rig {
    Rig(HidBoardFamily family, int relays)
        : fake(family, relays), board(makeHidRelayBoard({family, relays, "test"}, fake)),
          switcher(*board) {}
    FakeBoard fake;
    std::unique_ptr<RelayBoard> board;
    RelaySwitcher switcher;
};

QString commandText(const std::vector<RelayCommand>& commands) {
    QStringList parts;
    for (const RelayCommand& c : commands)
        parts << (c.relay == 0 ? QString("all") : QString::number(c.relay)) + (c.on ? "+" : "-");
    return parts.join(' ');
}

} // namespace

Q_DECLARE_METATYPE(HidBoardFamily)

class RelayProtocolTest : public QObject {
    Q_OBJECT

  private slots:
    void plansOnlyWhatChanges_data() {
        QTest::addColumn<int>("known"); // -1: just opened
        QTest::addColumn<int>("portByte");
        QTest::addColumn<int>("relayCount");
        QTest::addColumn<bool>("hasAll");
        QTest::addColumn<QString>("commands");

        QTest::newRow("opened: every relay set") << -1 << 0x05 << 4 << false << "1+ 2- 3+ 4-";
        QTest::newRow("opened at 0: one all-off") << -1 << 0x00 << 4 << true << "all-";
        QTest::newRow("opened at 15: one all-on") << -1 << 0x0F << 4 << true << "all+";
        QTest::newRow("opened, 8 relays: 5..8 forced off")
            << -1 << 0xFF << 8 << true << "1+ 2+ 3+ 4+ 5- 6- 7- 8-";
        QTest::newRow("opened, 2 relays: bits 2 and 3 drive nothing")
            << -1 << 0x0E << 2 << false << "1- 2+";
        QTest::newRow("one relay changes") << 0x01 << 0x03 << 4 << true << "2+";
        QTest::newRow("nothing changes") << 0x05 << 0x05 << 4 << true << "";
        QTest::newRow("bits 4..7 drive nothing") << 0x00 << 0xF0 << 4 << true << "";
        QTest::newRow("all off from two on: one command") << 0x05 << 0x00 << 4 << true << "all-";
        QTest::newRow("all on from one on, no all command")
            << 0x01 << 0x0F << 4 << false << "2+ 3+ 4+";
        QTest::newRow("all on of an 8-relay board stays per relay")
            << 0x00 << 0x0F << 8 << true << "1+ 2+ 3+ 4+";
        QTest::newRow("all off of an 8-relay board is one command")
            << 0x0F << 0x00 << 8 << true << "all-";
        QTest::newRow("two change, not all the same way") << 0x01 << 0x02 << 4 << true << "1- 2+";
    }
    void plansOnlyWhatChanges() {
        QFETCH(int, known);
        QFETCH(int, portByte);
        QFETCH(int, relayCount);
        QFETCH(bool, hasAll);
        QFETCH(QString, commands);
        const std::optional<std::uint8_t> state =
            known < 0 ? std::nullopt : std::optional<std::uint8_t>(known);
        const auto target = relayTarget(static_cast<std::uint8_t>(portByte), relayCount);
        QCOMPARE(commandText(planCommands(state, target, relayCount, hasAll)), commands);
    }

    void reportsOnTheWire_data() {
        QTest::addColumn<HidBoardFamily>("family");
        QTest::addColumn<int>("relays");
        QTest::addColumn<QList<int>>("bytes");
        QTest::addColumn<QStringList>("reports"); // one entry per byte written
        QTest::addColumn<int>("finalRelays");

        using L = QStringList;
        QTest::newRow("USBRelay4: start-up, channel 1, All On, All Off, exit")
            << HidBoardFamily::UsbRelay << 4 << QList<int>{0, 1, 15, 0, 0}
            << L{"F:fc 00 G", "F:ff 01 G", "F:fe 00 G", "F:fc 00 G", "G"} << 0;
        QTest::newRow("USBRelay8: relays 5..8 off at open, then left alone")
            << HidBoardFamily::UsbRelay << 8 << QList<int>{0x09, 0xFF}
            << L{"F:ff 01 F:fd 02 F:fd 03 F:ff 04 F:fd 05 F:fd 06 F:fd 07 F:fd 08 G",
                 "F:ff 02 F:ff 03 G"}
            << 0x0F;
        QTest::newRow("HIDRelay: output report bytes")
            << HidBoardFamily::HidRelay << 8 << QList<int>{0, 4, 5, 0}
            << L{"W:09", "W:f3", "W:f1", "W:09"} << 0;
        QTest::newRow("LCUS HID: one frame per relay")
            << HidBoardFamily::LcusHid << 4 << QList<int>{0, 1, 0}
            << L{"W:a0 01 00 a1 W:a0 02 00 a2 W:a0 03 00 a3 W:a0 04 00 a4", "W:a0 01 01 a2",
                 "W:a0 01 00 a1"}
            << 0;
    }
    void reportsOnTheWire() {
        QFETCH(HidBoardFamily, family);
        QFETCH(int, relays);
        QFETCH(QList<int>, bytes);
        QFETCH(QStringList, reports);
        QFETCH(int, finalRelays);

        Rig rig(family, relays);
        // Relay 4 and up left on by someone else.
        rig.fake.relays = static_cast<std::uint8_t>(0xF8 & boardMask(relays));
        for (int i = 0; i < bytes.size(); ++i) {
            rig.fake.log.clear();
            const SwitchResult result = rig.switcher.apply(static_cast<std::uint8_t>(bytes[i]));
            QVERIFY2(result.ok(), qPrintable(QString::fromStdString(result.io.message)));
            QCOMPARE(rig.fake.log.join(' '), reports[i]);
        }
        QCOMPARE(int(rig.fake.relays), finalRelays);
    }

    void aRelayThatDoesNotFollowIsAFailedWrite() {
        Rig rig(HidBoardFamily::UsbRelay, 4);
        QVERIFY(rig.switcher.apply(0x00).ok());
        rig.fake.stuck = 0x02; // relay 2 welded off

        const SwitchResult result = rig.switcher.apply(0x03);
        QCOMPARE(result.outcome, SwitchResult::Outcome::Mismatch);
        QCOMPARE(int(result.written), 0x03);
        QCOMPARE(int(result.reported), 0x01);
        QCOMPARE(QString::fromStdString(result.describeMismatch(4)),
                 "the board reports relay 2 off, not as written");
        QVERIFY(!rig.switcher.knowsRelays());

        // The retry sets every relay again, not just the one that changed.
        rig.fake.stuck = 0;
        rig.fake.log.clear();
        QVERIFY(rig.switcher.apply(0x03).ok());
        QCOMPARE(rig.fake.log.join(' '), "F:ff 01 F:ff 02 F:fd 03 F:fd 04 G");
    }

    void describesEveryRelayThatDiffers() {
        SwitchResult result;
        result.written = 0x05;
        result.reported = 0x0A;
        QCOMPARE(QString::fromStdString(result.describeMismatch(4)),
                 "the board reports relay 1 off, relay 2 on, relay 3 off and relay 4 on, not as "
                 "written");
    }

    void aBoardThatGoesAwayIsSetAfreshAfterwards_data() {
        QTest::addColumn<int>("failAfter");
        QTest::addColumn<QString>("failedLog");
        QTest::newRow("the command fails") << 0 << "F:ff 02";
        QTest::newRow("the read-back fails") << 1 << "F:ff 02 G";
    }
    void aBoardThatGoesAwayIsSetAfreshAfterwards() {
        QFETCH(int, failAfter);
        QFETCH(QString, failedLog);
        Rig rig(HidBoardFamily::UsbRelay, 4);
        QVERIFY(rig.switcher.apply(0x01).ok());

        rig.fake.log.clear();
        rig.fake.failAfter = failAfter;
        const SwitchResult lost = rig.switcher.apply(0x03);
        QCOMPARE(lost.outcome, SwitchResult::Outcome::Failed);
        QCOMPARE(lost.io.error, ENODEV);
        QCOMPARE(rig.fake.log.join(' '), failedLog);

        rig.fake.failAfter = -1;
        rig.fake.log.clear();
        QVERIFY(rig.switcher.apply(0x03).ok());
        QCOMPARE(rig.fake.log.join(' '), "F:ff 01 F:ff 02 F:fd 03 F:fd 04 G");
    }

    void aTruncatedStatusIsAFailure() {
        Rig rig(HidBoardFamily::UsbRelay, 4);
        rig.fake.shortAnswer = true;
        const SwitchResult result = rig.switcher.apply(0x00);
        QCOMPARE(result.outcome, SwitchResult::Outcome::Failed);
        QCOMPARE(result.io.error, EPROTO);
    }

    void identifiesBoards_data() {
        QTest::addColumn<int>("vendor");
        QTest::addColumn<int>("product");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("relays"); // 0: not a relay board

        QTest::newRow("USBRelay1") << 0x16c0 << 0x05df << "USBRelay1" << 1;
        QTest::newRow("USBRelay8") << 0x16c0 << 0x05df << "USBRelay8" << 8;
        QTest::newRow("USBRelay9 does not exist") << 0x16c0 << 0x05df << "USBRelay9" << 0;
        QTest::newRow("USBRelay10 does not exist") << 0x16c0 << 0x05df << "USBRelay10" << 0;
        QTest::newRow("another V-USB gadget") << 0x16c0 << 0x05df << "HIDKeys" << 0;
        QTest::newRow("HIDRelay") << 0x0519 << 0x2018 << "HIDRelay" << 8;
        QTest::newRow("0519:2018 that is no HIDRelay") << 0x0519 << 0x2018 << "TSP100" << 0;
        QTest::newRow("LCUS HID, no strings") << 0x5131 << 0x2007 << "" << 4;
        QTest::newRow("a keyboard") << 0x046d << 0xc31c << "USBRelay4" << 0;
    }
    void identifiesBoards() {
        QFETCH(int, vendor);
        QFETCH(int, product);
        QFETCH(QString, name);
        QFETCH(int, relays);
        const auto model =
            identifyHidBoard(static_cast<std::uint16_t>(vendor),
                             static_cast<std::uint16_t>(product), name.toStdString());
        QCOMPARE(model ? model->relays : 0, relays);
    }

    void parsesTheUsbRelayStatus_data() {
        QTest::addColumn<QByteArray>("report");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("relays");

        QTest::newRow("ID and relays")
            << QByteArray::fromHex("00514157455a00000a") << true << "QAWEZ" << 0x0a;
        QTest::newRow("unprintable ID")
            << QByteArray::fromHex("00ffffffffff000001") << true << "" << 0x01;
        QTest::newRow("too short") << QByteArray::fromHex("005141574500") << false << "" << 0;
        QTest::newRow("another report number")
            << QByteArray::fromHex("01514157455a00000a") << false << "" << 0;
    }
    void parsesTheUsbRelayStatus() {
        QFETCH(QByteArray, report);
        QFETCH(bool, valid);
        QFETCH(QString, id);
        QFETCH(int, relays);
        const auto status = parseUsbRelayStatus(
            std::span(reinterpret_cast<const std::uint8_t*>(report.constData()), report.size()));
        QCOMPARE(status.has_value(), valid);
        if (status) {
            QCOMPARE(QString::fromStdString(status->id), id);
            QCOMPARE(int(status->relays), relays);
        }
    }

    void lcusFrames_data() {
        QTest::addColumn<int>("relay");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("frame");
        QTest::newRow("1 on") << 1 << true << "a0 01 01 a2";
        QTest::newRow("1 off") << 1 << false << "a0 01 00 a1";
        QTest::newRow("4 on") << 4 << true << "a0 04 01 a5";
        QTest::newRow("8 off") << 8 << false << "a0 08 00 a8";
    }
    void lcusFrames() {
        QFETCH(int, relay);
        QFETCH(bool, on);
        QFETCH(QString, frame);
        QCOMPARE(hex(lcusFrame(relay, on)), frame);
    }
};

QTEST_APPLESS_MAIN(RelayProtocolTest)
#include "relay_protocol_test.moc"
