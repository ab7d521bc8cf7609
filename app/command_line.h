#pragma once
// The panel's command line: which relay board to drive (--board), listing
// the boards that are plugged in (--list-boards), --help and --version.
// Parsing decides what to do without touching any board, so a wrong
// argument ends the program before anything is written anywhere. Only the
// boards this build drives are offered, listed and accepted.

#include "core/port_output.h"
#include "platform/relay/board_choice.h"
#include "platform/relay/hid_boards.h"
#include "platform/relay/serial_boards.h"

#include <QStringList>

#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace cli {

inline constexpr int UsageError = 2;

struct RunPanel {
    platform::relay::BoardChoice board;
};
struct ListBoards {};
struct ExitNow {
    int status = 0;
    std::string out; // for stdout
    std::string err; // for stderr
};
using Command = std::variant<RunPanel, ListBoards, ExitNow>;

// `arguments` as in main's argv, the program first.
Command parseCommandLine(const QStringList& arguments);
std::string usage();
std::string versionText();

struct BoardsFound {
    std::vector<platform::relay::HidBoardInfo> hid;
    std::vector<platform::relay::SerialBoardInfo> serial;
    // The port at 0x378: its ppdev device, or "0x378" where it is written
    // directly (only resolveBoard looks for that).
    std::optional<std::string> parallel;
};
// Looks at what is plugged in; reads USBRelay boards' IDs, switches nothing.
BoardsFound findBoards();
// One line per board, the --board value that selects it first.
std::string listBoards(const BoardsFound& boards);

// The board a choice stands for, as --list-boards names it: the value that
// selects that same board whatever it was first called, so that two panels
// for one board can tell. auto becomes the parallel port where there is one
// (or where there is no board at all, so that it fails as the default does),
// else the one USB HID board; it never picks a serial port, which may be
// anything. A usb-hid board that is not there stays as given, for its port
// to look again and say why.
struct ResolvedBoard {
    platform::relay::BoardChoice board;
    // Why no board could be picked (one line, for the dot and stderr); empty
    // when `board` is the one to drive.
    std::string problem;
};
ResolvedBoard resolveBoard(const platform::relay::BoardChoice& choice, const BoardsFound& found);
// The same, looking at what is plugged in; reads USBRelay boards' IDs,
// switches nothing.
ResolvedBoard resolveBoard(const platform::relay::BoardChoice& choice);

// The port backend for a board choice that parseCommandLine gave; nothing is
// opened until its first write. A resolved board with a problem gets a port
// whose every write fails with it.
std::unique_ptr<core::PortOutput> openBoard(const platform::relay::BoardChoice& board);
std::unique_ptr<core::PortOutput> openBoard(const ResolvedBoard& resolved);

} // namespace cli
