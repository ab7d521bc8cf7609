#pragma once
// What the window tests share: quiet raises, and closing a window for good.

#include <QCoreApplication>
#include <QWidget>

namespace rig {
// The offscreen platform cannot raise windows and warns on every show of a
// secondary window; the warning says nothing about the code under test.
inline void quietRaise() {
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message != QLatin1String("This plugin does not support raise()"))
                previous(type, context, message);
        });
}

// Closes `w` (if still there) and runs the deletion that closing posted.
inline void close(QWidget* w) {
    if (w)
        w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
} // namespace rig
