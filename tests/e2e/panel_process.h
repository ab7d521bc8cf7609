#pragma once
// Starts the real program for an end-to-end test, with the stand-in ppdev
// device preloaded so that its port writes land in `portLog`.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

inline void startPanel(QProcess& panel, QProcessEnvironment env, const QString& portLog) {
    env.insert("LD_PRELOAD", KAVO_PPDEV_SHIM);
    env.insert("PPDEV_SHIM_DEVICE", "/dev/parport0");
    env.insert("PPDEV_SHIM_LOG_FILE", portLog);
    env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
    panel.setProcessEnvironment(env);
    panel.setProcessChannelMode(QProcess::ForwardedChannels);
    panel.start(KAVO_PANEL, {});
}
