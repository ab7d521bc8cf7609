#include "wayland_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

WaylandSession::~WaylandSession() {
    if (weston_.state() != QProcess::NotRunning) {
        weston_.terminate();
        if (!weston_.waitForFinished(5000))
            weston_.kill();
        weston_.waitForFinished();
    }
}

bool WaylandSession::start(QString* error) {
    if (QStandardPaths::findExecutable("weston").isEmpty()) {
        *error = "weston is not installed (scripts/setup.sh installs it)";
        return false;
    }
    if (!runtime_.isValid() || !work_.isValid()) {
        *error = "no temporary directory for weston";
        return false;
    }
    const QString config = work_.filePath("weston.ini");
    QFile ini(config);
    if (!ini.open(QIODevice::WriteOnly)) {
        *error = "cannot write " + config;
        return false;
    }
    ini.write(QStringLiteral("[core]\nidle-time=0\nrequire-input=false\n"
                             "[shell]\nbackground-color=0x%1\npanel-position=none\n"
                             "locking=false\nanimation=none\nstartup-animation=none\n"
                             "close-animation=none\nfocus-animation=none\n")
                  .arg(Background, 8, 16, QLatin1Char('0'))
                  .toLatin1());
    ini.close();

    socket_ = QStringLiteral("kavo-e2e-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    env.remove("WAYLAND_DISPLAY");
    env.remove("DISPLAY");
    weston_.setProcessEnvironment(env);
    // Into a file: a pipe nobody reads would stall weston once full.
    const QString log = work_.filePath("weston.log");
    weston_.setProcessChannelMode(QProcess::MergedChannels);
    weston_.setStandardOutputFile(log);
    // --debug exposes the screenshot protocol to every client.
    weston_.start("weston", {"--backend=headless-backend.so", "--use-pixman",
                             QStringLiteral("--width=%1").arg(Width),
                             QStringLiteral("--height=%1").arg(Height), "--socket=" + socket_,
                             "--config=" + config, "--idle-time=0", "--debug"});
    if (!weston_.waitForStarted(5000)) {
        *error = "weston could not be started: " + weston_.errorString();
        return false;
    }
    // Up once its socket exists and the desktop shell has drawn the background.
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 15000 && weston_.state() == QProcess::Running) {
        if (QFile::exists(QDir(runtime_.path()).filePath(socket_))) {
            const QImage shot = screenshot();
            if (!shot.isNull() && shot.pixel(5, 5) == Background)
                return true;
        }
        QThread::msleep(200);
    }
    weston_.waitForFinished(100);
    QFile output(log);
    output.open(QIODevice::ReadOnly);
    *error = "weston did not come up: " + QString::fromLocal8Bit(output.readAll()).right(600);
    return false;
}

QProcessEnvironment WaylandSession::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime_.path());
    env.insert("WAYLAND_DISPLAY", socket_);
    env.insert("QT_QPA_PLATFORM", "wayland");
    env.remove("DISPLAY");
    return env;
}

QImage WaylandSession::screenshot() const {
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setProcessEnvironment(environment());
    shooter.setWorkingDirectory(dir.path());
    shooter.start("weston-screenshooter", {});
    if (!shooter.waitForFinished(10000) || shooter.exitCode() != 0)
        return {};
    const QStringList files = QDir(dir.path()).entryList({"wayland-screenshot-*.png"});
    if (files.isEmpty())
        return {};
    return QImage(QDir(dir.path()).filePath(files.first())).convertToFormat(QImage::Format_RGB32);
}
