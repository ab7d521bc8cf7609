#include "help_common.h"

#include <QFile>

namespace help {

Qt::WindowFlags fixedDialogFlags() {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
           Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

QFont windowFont(bool bold) {
    // The windows were laid out for MS Sans Serif; of the free faces,
    // Liberation Sans (or Arimo) comes closest to its metrics.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    font.setBold(bold);
    return font;
}

QString pictureDescription(const QString& key, const QString& fallback) {
    QFile file(QStringLiteral(":/help/text/") + key + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    const QString text = QString::fromUtf8(file.readAll()).trimmed();
    return text.isEmpty() ? fallback : text;
}

} // namespace help
