#include "help_common.h"
#include "ui/look.h"

#include <QFile>

namespace help {

Qt::WindowFlags fixedDialogFlags() {
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
           Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

QFont windowFont(bool bold) {
    return ui::designFont(11, bold);
}

QString pictureDescription(const QString& key, const QString& fallback) {
    QFile file(QStringLiteral(":/help/text/") + key + QStringLiteral(".txt"));
    if (!file.open(QIODevice::ReadOnly))
        return fallback;
    const QString text = QString::fromUtf8(file.readAll()).trimmed();
    return text.isEmpty() ? fallback : text;
}

} // namespace help
