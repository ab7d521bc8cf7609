#include "panel_run.h"

#include "panel_layout.h"
#include "window_titles.h"
#include "x_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

bool PanelRun::start(const QProcessEnvironment& session, const QStringList& arguments,
                     QProcess::ProcessChannelMode channels) {
    QProcessEnvironment env = session;
    QStringList libraries = preloads_;
    if (port_) {
        libraries.prepend(KAVO_PPDEV_SHIM);
        env.insert("PPDEV_SHIM_DEVICE", "/dev/parport0");
        env.insert("PPDEV_SHIM_LOG_FILE", dir_.filePath("port.log"));
    }
    if (!libraries.isEmpty())
        env.insert("LD_PRELOAD", libraries.join(' '));
    // A sanitized program would refuse the stand-ins loaded ahead of ASan.
    env.insert("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0");
    for (const QString& name : extra_.keys())
        env.insert(name, extra_.value(name));
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(channels);
    process_.start(program_, arguments);
    return process_.waitForStarted();
}

bool PanelRun::waitUntil(const std::function<bool()>& ready, int timeoutMs) {
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        const bool running = process_.state() != QProcess::NotRunning;
        if (ready())
            return true;
        if (!running || waited.elapsed() > timeoutMs)
            return false;
        QTest::qWait(100);
    }
}

QRect PanelRun::waitForWindow(const XSession& x) {
    const QRgb skin = startupSkin().pixel(layout::Surface);
    QRect window;
    const bool shown = waitUntil([&] {
        window = x.windowGeometry(titles::Panel);
        if (!window.isValid())
            return false;
        const QImage screen = x.screenshot();
        const QPoint spot = window.topLeft() + layout::Surface;
        return screen.rect().contains(spot) && screen.pixel(spot) == skin;
    });
    return shown ? window : QRect();
}

QString PanelRun::portCalls() const {
    QFile log(dir_.filePath("port.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromLatin1(log.readAll()).trimmed() : QString();
}

QString PanelRun::bytesWritten() const {
    QStringList bytes;
    for (const QString& call : portCalls().split('\n')) {
        if (call.startsWith("PPWDATA=0x") && !call.contains('!'))
            bytes << call.mid(10);
    }
    return bytes.join(' ');
}

void PanelRun::stop() {
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

QImage PanelRun::startupSkin() {
    return QImage(KAVO_SOURCE_DIR "/assets/main/skins/lily.bmp")
        .convertToFormat(QImage::Format_RGB32);
}

QString PanelRun::screenshotDir() {
    const QString dir =
        qEnvironmentVariable("KAVO_SCREENSHOT_DIR", QDir::currentPath() + "/screenshots");
    QDir().mkpath(dir);
    return dir;
}
