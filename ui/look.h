#pragma once
// What every window of the program shares with the others.

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QSize>
#include <QString>

class QScreen;

namespace ui {

// The windows were laid out for MS Sans Serif (8.25 pt is 11 px at 96 dpi);
// of the free faces, Liberation Sans (or Arimo) comes closest to its metrics.
QFont designFont(int pixelSize, bool bold);

// A picture decoded straight into a pixmap of the caller's own. Loading a
// QPixmap by name would also park it in QPixmapCache, where it would outlive
// the window that showed it. On a screen scaled by 1.5 or more the picture's
// rendering at twice the size ("<path>@2x") is taken where there is one; it
// has the same size in the window.
QPixmap loadPicture(const QString& path);

// The picture at `path` as it should be drawn at this device pixel ratio:
// the 2x rendering (with a device pixel ratio of 2) from 1.5 up where one
// exists, otherwise the picture itself.
QImage sharpestPicture(const QString& path, qreal devicePixelRatio);
bool wantsDoubleSize(qreal devicePixelRatio);

} // namespace ui

namespace ui {

// Where the top left corner of a window whose frame (title bar and border
// included; none for a window without) has `framedSize` goes to centre it on
// `screen`, the screen's top left corner when there is no screen.
QPoint centredTopLeft(QSize framedSize, const QScreen* screen);

// The program's icon, for every one of its windows. Made from the decoded
// picture rather than by file name, which would wake the MIME database.
QIcon programIcon();

} // namespace ui
