#include "look.h"

#include "assets/hidpi.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

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

bool wantsDoubleSize(qreal devicePixelRatio) {
    return devicePixelRatio >= 1.5;
}

QImage sharpestPicture(const QString& path, qreal devicePixelRatio) {
    if (wantsDoubleSize(devicePixelRatio)) {
        // Registered only now: on a normal screen their tables are never read.
        assets::initHiDpi();
        QImage doubled(path + QStringLiteral("@2x"));
        if (!doubled.isNull()) {
            doubled.setDevicePixelRatio(2);
            return doubled;
        }
    }
    return QImage(path);
}

QPixmap loadPicture(const QString& path) {
    return QPixmap::fromImage(sharpestPicture(path, qApp ? qApp->devicePixelRatio() : 1.0));
}

QPoint centredTopLeft(QSize framedSize, const QScreen* screen) {
    if (!screen)
        return {};
    const QRect area = screen->geometry();
    return {area.x() + (area.width() - framedSize.width()) / 2,
            area.y() + (area.height() - framedSize.height()) / 2};
}

QIcon programIcon() {
    QIcon icon(QPixmap::fromImage(QImage(QStringLiteral(":/main/icon"))));
    if (qApp && wantsDoubleSize(qApp->devicePixelRatio()))
        icon.addPixmap(loadPicture(QStringLiteral(":/main/icon")));
    return icon;
}

} // namespace ui
