#pragma once
// The panel on the user's session bus, for kavo-ctl and other scripts. Built
// with QtDBus (session_bus.cpp); without it (session_bus_none.cpp) there is
// no service, and nothing is said about it.
//
// One board has one panel. The board's lock name on the bus is taken first,
// before the board is opened or a window is built; a panel that finds it held
// by another asks that one to come to the front and ends without touching the
// board. Without a bus, the board's own device lock is what keeps a second
// panel off it.

#include <QObject>

#include <iosfwd>
#include <memory>
#include <string>

namespace ui {
class Form1;
}

// Takes the lock name of `board` (its --board value). False when a panel for that
// board runs already: it has been asked to come to the front, a line on `log`
// says so, and this program is to end with status 0.
bool claimBoardOnSessionBus(const std::string& board, std::ostream& log);

// The service for `form`; or none, and one line on `log` saying why.
std::unique_ptr<QObject> offerOnSessionBus(ui::Form1& form, const std::string& board,
                                           std::ostream& log);
