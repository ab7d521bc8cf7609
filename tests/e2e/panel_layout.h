#pragma once
// Where things are in the panel's client area, for the tests that click it or
// look at it from outside; the X11 and Wayland suites check the same spots.

#include <QPoint>
#include <QSize>
#include <array>

namespace layout {
inline constexpr QSize Size(301, 486);
inline constexpr QPoint Surface(100, 215);  // bare surface: drags, the menu, the skin's own pixels
inline constexpr QPoint Channel1(172, 276); // channel 1's ON face, then its OFF face
inline constexpr QPoint PlainView(188, 44); // "X&P"
inline constexpr QPoint AboutButton(212, 44); // "&?"
inline constexpr QPoint Exit(260, 44);        // "&X"
inline constexpr QPoint WiringButton(168, 136);
inline constexpr QPoint GuideButton(232, 136);
// Where the About window's client area opens; the help windows are centred.
inline constexpr QPoint AboutCorner(156, 129);
// The corners of the client area and of the strip beyond the picture, cut away.
inline constexpr std::array CutAway{QPoint(1, 1), QPoint(299, 1), QPoint(1, 484), QPoint(299, 484)};
} // namespace layout
