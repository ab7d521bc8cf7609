#pragma once
// What every window of the program shares with the others.

#include <QFont>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

// The windows were laid out for MS Sans Serif (8.25 pt is 11 px at 96 dpi);
// of the free faces, Liberation Sans (or Arimo) comes closest to its metrics.
QFont designFont(int pixelSize, bool bold);

// A picture decoded straight into a pixmap of the caller's own. Loading a
// QPixmap by name would also park it in QPixmapCache, where it would outlive
// the window that showed it.
QPixmap loadPicture(const QString& path);

} // namespace ui

namespace ui {

// The program's icon, for every one of its windows. Made from the decoded
// picture rather than by file name, which would wake the MIME database.
QIcon programIcon();

} // namespace ui
