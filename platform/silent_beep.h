#pragma once
// Which beep to use: on some platforms the toolkit's beep makes no sound.

#include <algorithm>
#include <cctype>
#include <string_view>

namespace platform {

// True when the beep of the Qt platform named (QGuiApplication::platformName())
// is silent, so the desktop's bell sound must stand in for it: Qt's Wayland
// client ("wayland", "wayland-egl", ...) has no beep. The name is compared
// without regard to case, as Qt matches platform names.
inline bool platformBeepIsSilent(std::string_view qtPlatformName) {
    constexpr std::string_view wayland = "wayland";
    if (qtPlatformName.size() < wayland.size())
        return false;
    return std::equal(wayland.begin(), wayland.end(), qtPlatformName.begin(), [](char a, char b) {
        return a == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace platform
