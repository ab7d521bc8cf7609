// Reading a --board value, and picking the USB HID board it means among the
// boards plugged in.
#include "platform/relay/board_choice.h"
#include "platform/relay/device_order.h"
#include "platform/relay/hid_boards.h"

#include <QTest>

#include <cerrno>

using namespace platform::relay;

Q_DECLARE_METATYPE(BoardKind)

namespace {

// How the help and the errors name a serial port on each system.
#ifdef Q_OS_WIN
const QString SerialPattern = "COM3", SerialExample = "COM3";
#else
const QString SerialPattern = "/dev/ttyUSBN", SerialExample = "/dev/ttyUSB0";
#endif

HidBoardInfo usbRelay(const std::string& path, const std::string& id, int relays = 4) {
    HidBoardInfo board;
    board.path = path;
    board.model = {HidBoardFamily::UsbRelay, relays, "USBRelay" + std::to_string(relays)};
    board.id = id;
    return board;
}
HidBoardInfo hidRelay(const std::string& path, const std::string& serial) {
    HidBoardInfo board;
    board.path = path;
    board.model = {HidBoardFamily::HidRelay, 8, "HIDRelay"};
    board.serial = serial;
    return board;
}
HidBoardInfo refused(const std::string& path) {
    HidBoardInfo board = usbRelay(path, "");
    board.access = IoResult::failure(EACCES, "Permission denied");
    return board;
}

// The bench the pick tables below choose from.
std::vector<HidBoardInfo> bench(const QString& name) {
    if (name == "none")
        return {};
    if (name == "one")
        return {usbRelay("/dev/hidraw2", "QAWEZ")};
    if (name == "twins") // both boards left the factory with the same ID
        return {usbRelay("/dev/hidraw2", "QAWEZ"), usbRelay("/dev/hidraw5", "QAWEZ"),
                hidRelay("/dev/hidraw7", "A0001")};
    if (name == "refused")
        return {usbRelay("/dev/hidraw2", "QAWEZ"), refused("/dev/hidraw3")};
    qFatal("unknown bench");
}

} // namespace

class BoardChoiceTest : public QObject {
    Q_OBJECT

  private slots:
    void parsesBoardValues_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<BoardKind>("kind");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("errorMentions");

        QTest::newRow("parallel") << "parallel" << true << BoardKind::Parallel << ""
                                  << "";
        QTest::newRow("auto") << "auto" << true << BoardKind::Auto << ""
                              << "";
        QTest::newRow("auto takes no selector")
            << "auto:usb-hid" << false << BoardKind::Parallel << ""
            << "auto:usb-hid";
        QTest::newRow("first HID board") << "usb-hid" << true << BoardKind::UsbHid << ""
                                         << "";
        QTest::newRow("HID board by ID") << "usb-hid:QAWEZ" << true << BoardKind::UsbHid << "QAWEZ"
                                         << "";
        QTest::newRow("HID board by device")
            << "usb-hid:/dev/hidraw3" << true << BoardKind::UsbHid << "/dev/hidraw3"
            << "";
        QTest::newRow("serial board")
            << "serial:/dev/ttyUSB0" << true << BoardKind::Serial << "/dev/ttyUSB0"
            << "";
#ifdef Q_OS_WIN
        QTest::newRow("serial board by port name")
            << "serial:COM3" << true << BoardKind::Serial << "COM3"
            << "";
#else
        QTest::newRow("serial board by device name")
            << "serial:ttyUSB1" << true << BoardKind::Serial << "/dev/ttyUSB1"
            << "";
#endif
        QTest::newRow("empty") << "" << false << BoardKind::Parallel << ""
                               << "usb-hid:SERIAL";
        QTest::newRow("unknown kind") << "lpt1" << false << BoardKind::Parallel << ""
                                      << "unknown board \"lpt1\"";
        QTest::newRow("kinds are lower case") << "USB-HID" << false << BoardKind::Parallel << ""
                                              << "unknown board";
        QTest::newRow("parallel takes no selector")
            << "parallel:0x378" << false << BoardKind::Parallel << ""
            << "parallel:0x378";
        QTest::newRow("usb-hid: with nothing after it")
            << "usb-hid:" << false << BoardKind::Parallel << ""
            << "after the colon";
        QTest::newRow("serial without its device") << "serial" << false << BoardKind::Parallel << ""
                                                   << "serial:" + SerialExample;
        QTest::newRow("serial: with nothing after it")
            << "serial:" << false << BoardKind::Parallel << ""
            << "needs its device";
    }
    void parsesBoardValues() {
        QFETCH(QString, value);
        QFETCH(bool, valid);
        QFETCH(BoardKind, kind);
        QFETCH(QString, selector);
        QFETCH(QString, errorMentions);

        const BoardChoiceParse parsed = parseBoardChoice(value.toStdString());
        QCOMPARE(parsed.choice.has_value(), valid);
        if (!valid) {
            QVERIFY2(QString::fromStdString(parsed.error).contains(errorMentions),
                     parsed.error.c_str());
            return;
        }
        QCOMPARE(parsed.choice->kind, kind);
        QCOMPARE(QString::fromStdString(parsed.choice->selector), selector);
        // The value that selects the choice means the same choice again.
        const auto again = parseBoardChoice(boardArgument(*parsed.choice));
        QVERIFY(again.choice && *again.choice == *parsed.choice);
    }

    // A build without a kind of board refuses it and offers only what it has.
    void refusesKindsNotBuiltIn() {
        const auto hid = parseBoardChoice("usb-hid:QAWEZ", {.usbHid = false, .serial = true});
        QVERIFY(!hid.choice);
        QCOMPARE(QString::fromStdString(hid.error),
                 "this build drives no USB HID relay boards: use parallel or serial:" +
                     SerialPattern);
        const auto serial =
            parseBoardChoice("serial:/dev/ttyUSB0", {.usbHid = false, .serial = false});
        QVERIFY(!serial.choice);
        QCOMPARE(QString::fromStdString(serial.error),
                 "this build drives no serial relay boards: use parallel");
    }

    void picksTheBoardMeant_data() {
        QTest::addColumn<QString>("bench");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("mentions"); // in the reason or the fix

        QTest::newRow("nothing plugged in") << "none"
                                            << "" << -1 << ENODEV << "--list-boards";
        QTest::newRow("the first") << "twins"
                                   << "" << 0 << 0 << "";
        QTest::newRow("by ID") << "one"
                               << "QAWEZ" << 0 << 0 << "";
        QTest::newRow("by USB serial") << "twins"
                                       << "A0001" << 2 << 0 << "";
        QTest::newRow("by device") << "twins"
                                   << "/dev/hidraw5" << 1 << 0 << "";
        QTest::newRow("a device that is no board")
            << "twins"
            << "/dev/hidraw0" << -1 << ENODEV << "--list-boards";
        QTest::newRow("a shared ID is refused, not guessed")
            << "twins"
            << "QAWEZ" << -1 << EEXIST << "--board=usb-hid:/dev/hidraw2";
        QTest::newRow("an unknown ID") << "one"
                                       << "ZZZZZ" << -1 << ENODEV << "ZZZZZ";
        QTest::newRow("an unknown ID, one board refused: its reason counts")
            << "refused"
            << "ZZZZZ" << -1 << EACCES << "Permission denied";
        QTest::newRow("a known ID beside a refused board") << "refused"
                                                           << "QAWEZ" << 0 << 0 << "";
#ifdef Q_OS_WIN
        QTest::newRow("a device typed in another case") << "twins"
                                                        << "/DEV/HIDRAW5" << 1 << 0 << "";
#else
        QTest::newRow("a device typed in another case")
            << "twins"
            << "/DEV/HIDRAW5" << -1 << ENODEV << "--list-boards";
#endif
    }
    void picksTheBoardMeant() {
        QFETCH(QString, bench);
        QFETCH(QString, selector);
        QFETCH(int, index);
        QFETCH(int, error);
        QFETCH(QString, mentions);

        const HidBoardPick pick = pickHidBoard(::bench(bench), selector.toStdString());
        QCOMPARE(pick.index, index);
        QCOMPARE(pick.io.ok, index >= 0);
        QCOMPARE(pick.io.error, error);
        const QString said = QString::fromStdString(pick.io.message + " " + pick.fix);
        QVERIFY2(said.contains(mentions), qPrintable(said));
    }

    void listsDevicesByTheirNumbers_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::newRow("hidraw") << "/dev/hidraw9"
                                << "/dev/hidraw10";
        QTest::newRow("COM ports") << "COM3"
                                   << "COM10";
        QTest::newRow("other stems as text") << "/dev/ttyACM10"
                                             << "/dev/ttyUSB2";
        QTest::newRow("no number") << "\\\\?\\hid#a"
                                   << "\\\\?\\hid#b";
    }
    void listsDevicesByTheirNumbers() {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QVERIFY(devicePathBefore(first.toStdString(), second.toStdString()));
        QVERIFY(!devicePathBefore(second.toStdString(), first.toStdString()));
    }

    void listsEachBoardWithAnArgumentThatSelectsOnlyIt() {
        const std::vector<HidBoardInfo> boards = bench("twins");
        QCOMPARE(QString::fromStdString(boardArgument(choiceForHidBoard(boards, 0))),
                 "usb-hid:/dev/hidraw2");
        QCOMPARE(QString::fromStdString(boardArgument(choiceForHidBoard(boards, 1))),
                 "usb-hid:/dev/hidraw5");
        QCOMPARE(QString::fromStdString(boardArgument(choiceForHidBoard(boards, 2))),
                 "usb-hid:A0001");
        for (std::size_t i = 0; i < boards.size(); ++i) {
            const BoardChoice choice = choiceForHidBoard(boards, i);
            QCOMPARE(pickHidBoard(boards, choice.selector).index, int(i));
        }
        // A board whose ID could not be read is selected by its device.
        const std::vector<HidBoardInfo> withRefused = bench("refused");
        QCOMPARE(QString::fromStdString(boardArgument(choiceForHidBoard(withRefused, 1))),
                 "usb-hid:/dev/hidraw3");
    }
};

QTEST_APPLESS_MAIN(BoardChoiceTest)
#include "board_choice_test.moc"
