#pragma once
// What the help and About windows share: the dialog frame, the window font,
// the twip geometry of their designs and the page descriptions.

#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

namespace help {

// Designs are laid out in twips, 15 to the pixel.
constexpr int twipsToPixels(int twips) {
    return twips / 15;
}
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height)};
}

// A fixed dialog frame: title bar with the caption and a close box, nothing
// to minimise, maximise or resize with (SecondaryFrame does the rest: icon,
// taskbar, placement).
Qt::WindowFlags fixedDialogFlags();

// MS Sans Serif 8.25 pt (11 px at 96 dpi), or the nearest sans-serif face.
QFont windowFont(bool bold = false);

// The accessible description of a help picture: the text of
// ":/help/text/<key>.txt" when it is embedded, otherwise `fallback`.
QString pictureDescription(const QString& key, const QString& fallback);

} // namespace help
