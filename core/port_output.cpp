#include "port_output.h"

namespace core {

std::string PortStatus::describe() const {
    if (ok)
        return "Relay board port " + device + " works.";
    std::string text = "Cannot write to the relay board port " + device + ": " + error + ".";
    if (!fix.empty())
        text += " " + fix;
    return text;
}

} // namespace core
