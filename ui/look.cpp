#include "look.h"

#include <QImage>

namespace ui {

QFont designFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPixmap loadPicture(const QString& path) {
    return QPixmap::fromImage(QImage(path));
}

QIcon programIcon() {
    return QIcon(loadPicture(QStringLiteral(":/main/icon")));
}

} // namespace ui
