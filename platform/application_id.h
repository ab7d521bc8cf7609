#pragma once
// The id the desktop knows the program by: its desktop entry and AppStream
// file are named after it, its icons carry it, and it belongs in
// QGuiApplication::setDesktopFileName so that Wayland's app_id matches.

namespace platform {

inline constexpr const char* applicationId = "com.quorvale.KavoPanel";

} // namespace platform
