#pragma once
// The offscreen platform cannot raise windows and warns on every show of a
// secondary window; the warning says nothing about the code under test.

#include <QString>
#include <QtGlobal>

namespace quiet_raise {
inline QtMessageHandler& previous() {
    static QtMessageHandler handler = nullptr;
    return handler;
}
inline void filter(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message == QLatin1String("This plugin does not support raise()"))
        return;
    previous()(type, context, message);
}
inline void install() {
    previous() = qInstallMessageHandler(&filter);
}
inline void uninstall() {
    qInstallMessageHandler(previous());
}
} // namespace quiet_raise
