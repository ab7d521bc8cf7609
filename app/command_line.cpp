#include "command_line.h"

#include "kavo_version.h"
#include "platform/default_port.h"
#include "usb_boards.h"

#include <QCommandLineParser>

#if defined(__linux__) && (defined(__x86_64__) || defined(__i386__))
#include "platform/linux/parport_discovery.h"

#include <algorithm>
#include <sys/io.h>
#define KAVO_DIRECT_PORT_IO 1
#endif

namespace cli {
namespace {

using platform::relay::BoardChoice;
using platform::relay::BoardKind;

ExitNow usageError(std::string problem) {
    if (!problem.empty() && problem.back() != '.')
        problem += '.';
    return {UsageError, {}, "kavo-panel: " + problem + "\n\n" + usage()};
}

// Options that QApplication takes for itself (-platform, -style, -session
// from the session manager, ...): they are left for it.
QList<QCommandLineOption> toolkitOptions() {
    QList<QCommandLineOption> options;
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "display",
                             "geometry", "qwindowgeometry", "qwindowicon", "qwindowtitle", "style",
                             "stylesheet", "session", "name", "title", "qmljsdebugger"})
        options << QCommandLineOption(QString::fromLatin1(name), {}, "value");
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"})
        options << QCommandLineOption(QString::fromLatin1(name));
    for (QCommandLineOption& option : options)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    return options;
}

std::string pad(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

platform::relay::BuiltInBoards builtInBoards() {
    return {.usbHid = hidBoardsBuiltIn(), .serial = serialBoardsBuiltIn()};
}

std::string relaysOf(const platform::relay::HidBoardModel& model) {
    if (model.family == platform::relay::HidBoardFamily::UsbRelay)
        return std::to_string(model.relays) + (model.relays == 1 ? " relay" : " relays");
    return "up to " + std::to_string(model.relays) + " relays";
}

// The port at 0x378 without its ppdev device, which the parallel default
// writes directly: the kernel lists the port and this process may do port I/O.
bool directPortUsable() {
#ifdef KAVO_DIRECT_PORT_IO
    if (!platform::ioRegionListed() || ::ioperm(core::ParallelDataPort, 3, 1) != 0)
        return false;
    ::ioperm(core::ParallelDataPort, 3, 0);
    return true;
#else
    return false;
#endif
}

// What --board=auto says when it cannot pick: every board, with its value.
std::string severalBoards(const std::vector<platform::relay::HidBoardInfo>& boards) {
    std::string text =
        std::to_string(boards.size()) +
        " USB HID relay boards are plugged in and no parallel port, so auto picks none:";
    for (std::size_t i = 0; i < boards.size(); ++i)
        text += (i == 0 ? " " : ", ") + std::string("--board=") +
                platform::relay::boardArgument(platform::relay::choiceForHidBoard(boards, i)) +
                " (" + boards[i].model.name + " at " + boards[i].path + ")";
    return text;
}

// Every write fails with why no board was picked, so that the dot, stderr
// and the retry all say it.
class NoBoardPicked : public core::PortOutput {
  public:
    explicit NoBoardPicked(std::string problem) : problem_(std::move(problem)) {}
    core::PortStatus PortOut(std::uint16_t, std::uint8_t) override {
        return core::PortStatus::failure(
            "auto", problem_, "Start kavo-panel with the --board= value of the board to drive.");
    }

  private:
    std::string problem_;
};

} // namespace

std::string usage() {
    std::string text =
        "Usage: kavo-panel [--board=BOARD] [--list-boards] [--help] [--version]\n"
        "\n"
        "Switches up to four appliances through a relay board: each by hand, all\n"
        "together, or at a time of day.\n"
        "\n"
        "Options:\n"
        "  --board=BOARD   the relay board to drive:\n"
        "                    parallel              the parallel-port board (the default)\n";
    text += hidBoardsBuiltIn()
                ? "                    auto                  the parallel port if there is one,\n"
                  "                                          else the one USB HID relay board\n"
                : "                    auto                  the parallel port\n";
    if (hidBoardsBuiltIn())
        text += "                    usb-hid               the first USB HID relay board\n"
                "                    usb-hid:SERIAL        the USB HID relay board with this ID\n"
                "                    " +
                pad("usb-hid:" + std::string(platform::relay::HidDevicePattern), 22) +
                "the USB HID relay board at this device\n";
    if (serialBoardsBuiltIn())
        text += "                    " +
                pad("serial:" + std::string(platform::relay::SerialPortPattern), 22) +
                "the LCUS relay board on this serial port\n";
    return text +
           "  --list-boards   list the relay boards plugged in, each with its --board value\n"
           "  -h, --help      show this help\n"
           "  -v, --version   show the version\n";
}

std::string versionText() {
    return "kavo-panel " KAVO_VERSION "\n";
}

Command parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption board("board", {}, "BOARD");
    const QCommandLineOption list("list-boards");
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption version(QStringList{"v", "version"});
    parser.addOptions({board, list, help, version});
    parser.addOptions(toolkitOptions());

    if (!parser.parse(arguments))
        return usageError(parser.errorText().toStdString());
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument '" +
                          parser.positionalArguments().first().toStdString() + "'");
    if (parser.isSet(help))
        return ExitNow{0, usage(), {}};
    if (parser.isSet(version))
        return ExitNow{0, versionText(), {}};

    BoardChoice choice;
    const QStringList boards = parser.values(board);
    if (boards.size() > 1)
        return usageError("--board is given more than once");
    if (!boards.isEmpty()) {
        const auto parsed =
            platform::relay::parseBoardChoice(boards.first().toStdString(), builtInBoards());
        if (!parsed.choice)
            return usageError(parsed.error);
        choice = *parsed.choice;
    }
    if (parser.isSet(list))
        return ListBoards{};
    return RunPanel{choice};
}

ResolvedBoard resolveBoard(const BoardChoice& choice, const BoardsFound& found) {
    const std::vector<platform::relay::HidBoardInfo>& hid = found.hid;
    switch (choice.kind) {
    case BoardKind::UsbHid: {
        if (!choice.selector.empty() && !choice.selectsDevice())
            return {choice, {}};
        const platform::relay::HidBoardPick pick =
            platform::relay::pickHidBoard(hid, choice.selector);
        if (!pick.found())
            return {choice, {}};
        return {platform::relay::choiceForHidBoard(hid, std::size_t(pick.index)), {}};
    }
    case BoardKind::Auto:
        if (found.parallel || hid.empty())
            return {{BoardKind::Parallel, {}}, {}};
        if (hid.size() == 1)
            return {platform::relay::choiceForHidBoard(hid, 0), {}};
        return {choice, severalBoards(hid)};
    case BoardKind::Parallel:
    case BoardKind::Serial:
        break;
    }
    return {choice, {}};
}

ResolvedBoard resolveBoard(const BoardChoice& choice) {
    BoardsFound found;
    if (choice.kind == BoardKind::Auto) {
        if (std::string parallel = platform::presentParallelPort(); !parallel.empty())
            found.parallel = std::move(parallel);
        else if (directPortUsable())
            found.parallel = "0x378";
        if (found.parallel)
            return resolveBoard(choice, found);
    } else if (choice.kind != BoardKind::UsbHid ||
               (!choice.selector.empty() && !choice.selectsDevice())) {
        return {choice, {}};
    }
    found.hid = findHidBoards();
    // Boards are listed by their devices, not by the links to them.
    BoardChoice asListed = choice;
    if (choice.selectsDevice())
        asListed.selector = hidDevicePath(choice.selector);
    ResolvedBoard resolved = resolveBoard(asListed, found);
    if (resolved.board == asListed && choice.kind == BoardKind::UsbHid &&
        !platform::relay::pickHidBoard(found.hid, asListed.selector).found())
        resolved.board = choice;
    return resolved;
}

std::unique_ptr<core::PortOutput> openBoard(const ResolvedBoard& resolved) {
    if (!resolved.problem.empty())
        return std::make_unique<NoBoardPicked>(resolved.problem);
    return openBoard(resolved.board);
}

std::unique_ptr<core::PortOutput> openBoard(const BoardChoice& board) {
    switch (board.kind) {
    case BoardKind::UsbHid:
        return openHidBoard(board.selector);
    case BoardKind::Serial:
        return openSerialBoard(board.selector);
    case BoardKind::Auto:
        return openBoard(resolveBoard(board));
    case BoardKind::Parallel:
        break;
    }
    return platform::makeDefaultPort();
}

BoardsFound findBoards() {
    BoardsFound found;
    found.hid = findHidBoards();
    found.serial = findSerialBoards();
    if (std::string parallel = platform::presentParallelPort(); !parallel.empty())
        found.parallel = std::move(parallel);
    return found;
}

std::string listBoards(const BoardsFound& boards) {
    std::vector<std::pair<std::string, std::string>> lines;
    for (std::size_t i = 0; i < boards.hid.size(); ++i) {
        const platform::relay::HidBoardInfo& hid = boards.hid[i];
        std::string what = hid.model.name + ", " + relaysOf(hid.model);
        if (!hid.id.empty())
            what += ", ID " + hid.id;
        else if (!hid.serial.empty())
            what += ", serial " + hid.serial;
        what += ", " + hid.path;
        if (!hid.access.ok) {
            const bool denied = hid.access.error == EACCES || hid.access.error == EPERM;
            what += " (cannot be opened: " + hid.access.message +
                    (denied ? "; see the udev rule 70-kavo-panel-relay-boards.rules)" : ")");
        }
        lines.emplace_back(
            platform::relay::boardArgument(platform::relay::choiceForHidBoard(boards.hid, i)),
            what);
    }
    for (const platform::relay::SerialBoardInfo& serial : boards.serial)
        lines.emplace_back("serial:" + serial.path,
                           "CH340 serial port " + serial.path +
                               (serial.description.empty() ? "" : " (" + serial.description + ")") +
                               ", an LCUS relay board if one is on it");
    if (boards.parallel)
        lines.emplace_back("parallel", "parallel port " + *boards.parallel + " (the default)");

    if (lines.empty()) {
        std::string kinds = hidBoardsBuiltIn() ? "USB HID, " : "";
        if (serialBoardsBuiltIn())
            kinds += "CH340 serial, ";
        if (!kinds.empty())
            kinds.replace(kinds.size() - 2, 2, " or ");
        return "No relay boards found (" + kinds + "parallel port).\n";
    }
    std::size_t width = 0;
    for (const auto& [argument, what] : lines)
        width = std::max(width, argument.size() + 8);
    std::string text;
    for (const auto& [argument, what] : lines)
        text += pad("--board=" + argument, width + 2) + what + "\n";
    return text;
}

} // namespace cli
