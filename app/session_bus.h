#pragma once
// The panel on the user's session bus, for kavo-ctl and other scripts. Built
// with QtDBus (session_bus.cpp); without it (session_bus_none.cpp) there is
// no service, and nothing is said about it.

#include <QObject>

#include <iosfwd>
#include <memory>

namespace ui {
class Form1;
}

// The service for `form`; or none, and one line on `log` saying why.
std::unique_ptr<QObject> offerOnSessionBus(ui::Form1& form, std::ostream& log);
