#include "x_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

XSession::XSession() = default;

XSession::~XSession() {
    if (windowManager_.state() != QProcess::NotRunning) {
        windowManager_.terminate();
        windowManager_.waitForFinished(5000);
    }
    if (xvfb_.state() != QProcess::NotRunning) {
        xvfb_.terminate();
        xvfb_.waitForFinished(5000);
    }
}

bool XSession::start(QString* error) {
    // Xvfb picks a free display itself and writes its number, then a line
    // break, on the descriptor named: no two tests can take the same one.
    xvfb_.setProcessChannelMode(QProcess::SeparateChannels);
    xvfb_.setStandardErrorFile(QProcess::nullDevice());
    xvfb_.start("Xvfb",
                {"-displayfd", "1", "-screen", "0",
                 QString("%1x%2x24").arg(ScreenWidth).arg(ScreenHeight), "-nolisten", "tcp"});
    if (!xvfb_.waitForStarted(5000)) {
        *error = "Xvfb could not be started: " + xvfb_.errorString();
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    QByteArray number;
    while (!number.endsWith('\n') && waited.elapsed() < 15000 &&
           xvfb_.state() == QProcess::Running) {
        xvfb_.waitForReadyRead(200);
        number += xvfb_.readAllStandardOutput();
    }
    bool ok = false;
    number.trimmed().toInt(&ok);
    if (!ok) {
        *error = "Xvfb did not report a display within 15 s";
        xvfb_.kill();
        xvfb_.waitForFinished();
        return false;
    }
    display_ = ":" + QString::fromLatin1(number.trimmed());
    return true;
}

bool XSession::startWindowManager(QString* error) {
    QProcessEnvironment env = environment();
    // Openbox's own defaults, not whatever the user has configured.
    env.insert("XDG_CONFIG_HOME", windowManagerConfig_.path());
    windowManager_.setProcessEnvironment(env);
    windowManager_.setProcessChannelMode(QProcess::ForwardedChannels);
    windowManager_.start("openbox", {"--sm-disable"});
    if (!windowManager_.waitForStarted(5000)) {
        *error = "openbox could not be started: " + windowManager_.errorString();
        return false;
    }
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000 && windowManager_.state() == QProcess::Running) {
        if (run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id"))
            return true;
        QThread::msleep(100);
    }
    *error = windowManager_.state() == QProcess::Running
                 ? "openbox did not take over " + display_ + " within 20 s"
                 : QString("openbox ended with exit code %1").arg(windowManager_.exitCode());
    return false;
}

QString XSession::property(const QString& id, const QString& name) const {
    const QString out = run("xprop", {"-id", id, name}).trimmed();
    const int equals = out.indexOf(" = ");
    return equals < 0 ? QString() : out.mid(equals + 3);
}

QProcessEnvironment XSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", display_);
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}

QString XSession::run(const QString& program, const QStringList& args, int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

QRect XSession::windowGeometry(const QString& title, QString* id) const {
    // xwininfo -tree lists: 0x... "title": ("class" "class")  WxH+X+Y  +X+Y
    const QString tree = run("xwininfo", {"-root", "-tree"});
    const QRegularExpression line(
        QString(R"((0x[0-9a-f]+) "%1":.*?(\d+)x(\d+)\+-?\d+\+-?\d+\s+\+(-?\d+)\+(-?\d+))")
            .arg(QRegularExpression::escape(title)));
    for (const QString& row : tree.split('\n')) {
        const auto m = line.match(row);
        if (m.hasMatch() && m.captured(2).toInt() > 1) {
            if (id)
                *id = m.captured(1);
            return QRect(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(2).toInt(),
                         m.captured(3).toInt());
        }
    }
    return {};
}

bool XSession::waitForWindow(const QString& title, int timeoutMs) const {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        if (windowGeometry(title).isValid())
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool XSession::waitForNoWindow(const QString& title, int timeoutMs) const {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        if (!windowGeometry(title).isValid())
            return true;
        QThread::msleep(100);
    }
    return false;
}

QImage XSession::redrawn(const QRect& area, const QImage& before, int timeoutMs) const {
    const QImage old = before.copy(area);
    QImage last;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < timeoutMs) {
        const QImage now = screenshot().copy(area);
        if (now != old && now == last)
            return now;
        last = now;
    }
    return {};
}

QImage XSession::screenshot() const {
    QTemporaryDir dir;
    const QString path = dir.filePath("screen.png");
    run("import", {"-window", "root", path});
    return QImage(path).convertToFormat(QImage::Format_RGB32);
}

// No "--sync": xdotool then waits for a motion that never comes when the
// pointer is already there.
void XSession::moveMouse(QPoint to) const {
    run("xdotool", {"mousemove", QString::number(to.x()), QString::number(to.y())});
    QThread::msleep(150);
}

void XSession::click(QPoint at, int button) const {
    moveMouse(at);
    run("xdotool", {"click", QString::number(button)});
    QThread::msleep(300);
}

void XSession::drag(QPoint from, QPoint to) const {
    moveMouse(from);
    run("xdotool", {"mousedown", "1"});
    moveMouse((from + to) / 2);
    moveMouse(to);
    run("xdotool", {"mouseup", "1"});
    QThread::msleep(300);
}

void XSession::key(const QString& keys) const {
    run("xdotool", QStringList{"key", "--delay", "80"} + keys.split(' '));
    QThread::msleep(300);
}
