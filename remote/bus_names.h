#pragma once
// Where the running panel is found on the session bus, and the names of the
// errors it answers a refused request with. Shared by the panel, kavo-ctl and
// kavo-mqtt; the interface itself is com.quorvale.KavoPanel.xml.

#include <string>
#include <string_view>

namespace remote {

// The name of the panel that drives the parallel board.
inline constexpr const char* ServiceName = "com.quorvale.KavoPanel";
inline constexpr const char* ObjectPath = "/com/quorvale/KavoPanel";
inline constexpr const char* Interface = "com.quorvale.KavoPanel1";
// The same commands, answering with their own write (com.quorvale.KavoPanel2.xml).
inline constexpr const char* Interface2 = "com.quorvale.KavoPanel2";
inline constexpr const char* PropertiesInterface = "org.freedesktop.DBus.Properties";

namespace detail {
// `board` reduced to what an element of a bus name takes.
inline std::string busNameElement(std::string_view board) {
    std::string element;
    for (const char c : board) {
        const bool word =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        element += word ? c : '_';
    }
    if (element.empty() || (element.front() >= '0' && element.front() <= '9'))
        element.insert(0, 1, '_');
    return element;
}
// A bus name is at most 255 characters long.
inline std::string busName(std::string_view prefix, std::string_view board) {
    return (std::string(prefix) + busNameElement(board)).substr(0, 255);
}
} // namespace detail

// The name of the panel that drives `board` (its --board value, as
// --list-boards prints it), held while the panel serves its object. The
// parallel board keeps the plain name; any other board gets one more
// element, its value reduced to what a bus name takes, e.g.
// com.quorvale.KavoPanel.usb_hid_QAWEZ for usb-hid:QAWEZ.
inline std::string serviceName(std::string_view board) {
    if (board.empty() || board == "parallel")
        return ServiceName;
    return detail::busName("com.quorvale.KavoPanel.", board);
}

// One board has one panel: the panel takes this name before it opens the
// board or builds a window, so that of two panels started together only one
// goes on. The service name comes later, once the object is there to answer.
inline constexpr const char* BoardLockPrefix = "com.quorvale.KavoPanel.Board.";
inline std::string boardLockName(std::string_view board) {
    return detail::busName(BoardLockPrefix, board.empty() ? "parallel" : board);
}

namespace error {
// Every refusal of the panel's own starts with this.
inline constexpr const char* Prefix = "com.quorvale.KavoPanel1.Error.";
inline constexpr const char* NoSuchChannel = "com.quorvale.KavoPanel1.Error.NoSuchChannel";
inline constexpr const char* AlreadyOn = "com.quorvale.KavoPanel1.Error.AlreadyOn";
inline constexpr const char* AlreadyOff = "com.quorvale.KavoPanel1.Error.AlreadyOff";
inline constexpr const char* NotATime = "com.quorvale.KavoPanel1.Error.NotATime";
inline constexpr const char* AlreadyArmed = "com.quorvale.KavoPanel1.Error.AlreadyArmed";
inline constexpr const char* NotArmed = "com.quorvale.KavoPanel1.Error.NotArmed";
inline constexpr const char* Closed = "com.quorvale.KavoPanel1.Error.Closed";
inline constexpr const char* NotAPulse = "com.quorvale.KavoPanel1.Error.NotAPulse";
} // namespace error

} // namespace remote
