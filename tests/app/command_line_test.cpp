// The command line: what each set of arguments leads to, the board backend
// each choice gets, and the list of boards plugged in (USB HID boards from
// the hidraw stand-in).
#include "app/command_line.h"
#include "platform/hidapi/hid_relay_port.h"
#include "platform/hidraw_shim.h"
#include "platform/linux/linux_port.h"
#include "platform/serialport/serial_relay_port.h"

#include <QTest>

using cli::Command;
using platform::relay::BoardKind;

Q_DECLARE_METATYPE(BoardKind)

namespace {

platform::relay::HidBoardInfo usbRelay(const std::string& path, const std::string& id) {
    platform::relay::HidBoardInfo board;
    board.path = path;
    board.model = {platform::relay::HidBoardFamily::UsbRelay, 4, "USBRelay4"};
    board.id = id;
    return board;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { hidraw_shim_reset(); }

    void decidesWhatToDo_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("outcome"); // "run", "list" or the exit status
        QTest::addColumn<BoardKind>("kind");
        QTest::addColumn<QString>("selector");
        QTest::addColumn<QString>("stdoutHas");
        QTest::addColumn<QString>("stderrHas");

        using L = QStringList;
        const auto P = BoardKind::Parallel;
        QTest::newRow("no argument: the parallel port") << L{} << "run" << P << ""
                                                        << ""
                                                        << "";
        QTest::newRow("parallel spelled out") << L{"--board=parallel"} << "run" << P << ""
                                              << ""
                                              << "";
        QTest::newRow("auto") << L{"--board=auto"} << "run" << BoardKind::Auto << ""
                              << ""
                              << "";
        QTest::newRow("usb-hid, value apart")
            << L{"--board", "usb-hid"} << "run" << BoardKind::UsbHid << ""
            << ""
            << "";
        QTest::newRow("usb-hid by ID")
            << L{"--board=usb-hid:QAWEZ"} << "run" << BoardKind::UsbHid << "QAWEZ"
            << ""
            << "";
        QTest::newRow("serial") << L{"--board=serial:/dev/ttyUSB0"} << "run" << BoardKind::Serial
                                << "/dev/ttyUSB0"
                                << ""
                                << "";
        QTest::newRow("Qt's own options are left for Qt")
            << L{"-platform", "offscreen", "-reverse", "--board=usb-hid"} << "run"
            << BoardKind::UsbHid << ""
            << ""
            << "";
        QTest::newRow("list") << L{"--list-boards"} << "list" << P << ""
                              << ""
                              << "";
        QTest::newRow("help") << L{"--help"} << "0" << P << ""
                              << "Usage: kavo-panel"
                              << "";
        QTest::newRow("help offers auto")
            << L{"--help"} << "0" << P << ""
            << "auto                  the parallel port if there is one"
            << "";
        QTest::newRow("-h") << L{"-h"} << "0" << P << ""
                            << "--list-boards"
                            << "";
        QTest::newRow("version") << L{"--version"} << "0" << P << ""
                                 << "kavo-panel 1.1.0\n"
                                 << "";
        QTest::newRow("-v") << L{"-v"} << "0" << P << ""
                            << "1.1.0"
                            << "";
        QTest::newRow("unknown board") << L{"--board=lpt1"} << "2" << P << ""
                                       << ""
                                       << "unknown board \"lpt1\"";
        QTest::newRow("unknown option") << L{"--frobnicate"} << "2" << P << ""
                                        << ""
                                        << "Unknown option 'frobnicate'";
        QTest::newRow("--board without its value") << L{"--board"} << "2" << P << ""
                                                   << ""
                                                   << "Missing value after '--board'";
        QTest::newRow("a stray argument") << L{"usb-hid"} << "2" << P << ""
                                          << ""
                                          << "unexpected argument 'usb-hid'";
        QTest::newRow("two boards") << L{"--board=usb-hid", "--board=parallel"} << "2" << P << ""
                                    << ""
                                    << "more than once";
        QTest::newRow("a bad board is an error also when listing")
            << L{"--list-boards", "--board=serial"} << "2" << P << ""
            << ""
            << "serial:/dev/";
    }
    void decidesWhatToDo() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, outcome);
        QFETCH(BoardKind, kind);
        QFETCH(QString, selector);
        QFETCH(QString, stdoutHas);
        QFETCH(QString, stderrHas);

        const Command command = cli::parseCommandLine(QStringList{"kavo-panel"} + arguments);
        if (outcome == "run") {
            const auto* run = std::get_if<cli::RunPanel>(&command);
            QVERIFY(run);
            QCOMPARE(run->board.kind, kind);
            QCOMPARE(QString::fromStdString(run->board.selector), selector);
            return;
        }
        if (outcome == "list") {
            QVERIFY(std::holds_alternative<cli::ListBoards>(command));
            return;
        }
        const auto* exit = std::get_if<cli::ExitNow>(&command);
        QVERIFY(exit);
        QCOMPARE(exit->status, outcome.toInt());
        const QString out = QString::fromStdString(exit->out);
        const QString err = QString::fromStdString(exit->err);
        if (exit->status == 0) {
            QVERIFY2(out.contains(stdoutHas), qPrintable(out));
            QVERIFY(err.isEmpty());
        } else {
            // A usage error says what is wrong, then how to use the program.
            QVERIFY(out.isEmpty());
            QVERIFY2(err.startsWith("kavo-panel: ") && err.contains(stderrHas), qPrintable(err));
            QVERIFY2(err.contains("\n\nUsage: kavo-panel"), qPrintable(err));
        }
    }

    // The board a choice stands for, among what is plugged in: `found` is
    // "P" for a parallel port, "S" for a CH340 and one ID per USBRelay board.
    void resolvesToTheBoardListed_data() {
        QTest::addColumn<QString>("board");
        QTest::addColumn<QStringList>("found");
        QTest::addColumn<QString>("resolved");
        QTest::addColumn<QString>("problem");

        using L = QStringList;
        QTest::newRow("auto: the parallel port before a HID board")
            << "auto" << L{"P", "QAWEZ"} << "parallel"
            << "";
        QTest::newRow("auto: the one HID board") << "auto" << L{"QAWEZ"} << "usb-hid:QAWEZ"
                                                 << "";
        QTest::newRow("auto: two HID boards, none")
            << "auto" << L{"QAWEZ", "QAWEZ"} << "auto"
            << "2 USB HID relay boards are plugged in and no parallel port, so auto picks none: "
               "--board=usb-hid:/dev/hidraw2 (USBRelay4 at /dev/hidraw2), "
               "--board=usb-hid:/dev/hidraw3 (USBRelay4 at /dev/hidraw3)";
        QTest::newRow("auto: nothing, the parallel port") << "auto" << L{} << "parallel"
                                                          << "";
        QTest::newRow("auto: never a serial port") << "auto" << L{"S"} << "parallel"
                                                   << "";
        QTest::newRow("usb-hid: the first board's own value")
            << "usb-hid" << L{"QAWEZ", "ZXCVB"} << "usb-hid:QAWEZ"
            << "";
        QTest::newRow("usb-hid by device: its own value")
            << "usb-hid:/dev/hidraw3" << L{"QAWEZ", "ZXCVB"} << "usb-hid:ZXCVB"
            << "";
        QTest::newRow("usb-hid by a device that is no board: as given")
            << "usb-hid:/dev/hidraw9" << L{"QAWEZ"} << "usb-hid:/dev/hidraw9"
            << "";
        QTest::newRow("usb-hid by ID: as given") << "usb-hid:ZXCVB" << L{"QAWEZ"} << "usb-hid:ZXCVB"
                                                 << "";
        QTest::newRow("parallel: as given") << "parallel" << L{"QAWEZ"} << "parallel"
                                            << "";
    }
    void resolvesToTheBoardListed() {
        QFETCH(QString, board);
        QFETCH(QStringList, found);
        QFETCH(QString, resolved);
        QFETCH(QString, problem);

        cli::BoardsFound boards;
        for (const QString& what : found) {
            if (what == "P")
                boards.parallel = "/dev/parport0";
            else if (what == "S")
                boards.serial = {{"/dev/ttyUSB0", "USB Serial"}};
            else
                boards.hid.push_back(usbRelay("/dev/hidraw" + std::to_string(boards.hid.size() + 2),
                                              what.toStdString()));
        }
        const auto choice = platform::relay::parseBoardChoice(board.toStdString());
        QVERIFY(choice.choice);
        const cli::ResolvedBoard result = cli::resolveBoard(*choice.choice, boards);
        QCOMPARE(QString::fromStdString(platform::relay::boardArgument(result.board)), resolved);
        QCOMPARE(QString::fromStdString(result.problem), problem);
    }

    void eachChoiceGetsItsBackendAndNothingIsOpenedYet() {
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 4, "QAWEZ", nullptr);
        const auto parallel = cli::openBoard(platform::relay::BoardChoice{BoardKind::Parallel, {}});
        QVERIFY(dynamic_cast<platform::LinuxPort*>(parallel.get()));
        const auto hid = cli::openBoard(platform::relay::BoardChoice{BoardKind::UsbHid, "QAWEZ"});
        QVERIFY(dynamic_cast<platform::HidRelayPort*>(hid.get()));
        const auto serial =
            cli::openBoard(platform::relay::BoardChoice{BoardKind::Serial, "/dev/ttyUSB0"});
        QVERIFY(dynamic_cast<platform::SerialRelayPort*>(serial.get()));
        QCOMPARE(QString::fromLatin1(hidraw_shim_log()), QString());
        // No board picked: every write says why.
        const auto none = cli::openBoard(cli::ResolvedBoard{{BoardKind::Auto, {}}, "two boards"});
        const core::PortStatus status = none->PortOut(core::ParallelDataPort, 0);
        QVERIFY(!status.ok);
        QCOMPARE(QString::fromStdString(status.device + ": " + status.error), "auto: two boards");
    }

    void listsBoardsOneLineEach() {
        cli::BoardsFound found;
        found.hid = {usbRelay("/dev/hidraw2", "QAWEZ"), usbRelay("/dev/hidraw3", "QAWEZ"),
                     usbRelay("/dev/hidraw4", "ZXCVB"), usbRelay("/dev/hidraw5", "")};
        found.hid[3].access = platform::relay::IoResult::failure(EACCES, "Permission denied");
        found.serial = {{"/dev/ttyUSB0", "USB Serial"}};
        found.parallel = "/dev/parport0";
        QCOMPARE(QString::fromStdString(cli::listBoards(found)),
                 "--board=usb-hid:/dev/hidraw2  USBRelay4, 4 relays, ID QAWEZ, /dev/hidraw2\n"
                 "--board=usb-hid:/dev/hidraw3  USBRelay4, 4 relays, ID QAWEZ, /dev/hidraw3\n"
                 "--board=usb-hid:ZXCVB         USBRelay4, 4 relays, ID ZXCVB, /dev/hidraw4\n"
                 "--board=usb-hid:/dev/hidraw5  USBRelay4, 4 relays, /dev/hidraw5 (cannot be "
                 "opened: Permission denied; see the udev rule "
                 "70-kavo-panel-relay-boards.rules)\n"
                 "--board=serial:/dev/ttyUSB0   CH340 serial port /dev/ttyUSB0 (USB Serial), "
                 "an LCUS relay board if one is on it\n"
                 "--board=parallel              parallel port /dev/parport0 (the default)\n");
        QCOMPARE(QString::fromStdString(cli::listBoards({})),
                 "No relay boards found (USB HID, CH340 serial or parallel port).\n");
    }

    void findsTheHidBoardsPluggedInAndSwitchesNothing() {
        hidraw_shim_plug(HIDRAW_SHIM_USBRELAY, 2, "QAWEZ", nullptr);
        hidraw_shim_plug(HIDRAW_SHIM_KEYBOARD, 0, nullptr, nullptr);
        hidraw_shim_plug(HIDRAW_SHIM_HIDRELAY, 8, nullptr, "A0001");
        const QString listed = QString::fromStdString(cli::listBoards(cli::findBoards()));
        QVERIFY2(listed.contains("--board=usb-hid:QAWEZ  ") && listed.contains("USBRelay2") &&
                     listed.contains("--board=usb-hid:A0001  ") &&
                     listed.contains("HIDRelay, up to 8 relays, serial A0001") &&
                     !listed.contains("hidraw1"),
                 qPrintable(listed));
        // Reading the IDs is all that reached the boards.
        QCOMPARE(QString::fromLatin1(hidraw_shim_log()), "open GFEATURE close");
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
