#pragma once
// The real program for an end-to-end test, with its stand-ins: a ppdev device
// at /dev/parport0 (the shim preloaded) whose every call lands in a log of the
// run's own, so that the bytes written to the port can be read back. Stopped,
// whatever the test did, when the run goes.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

class XSession;

class PanelRun {
  public:
    ~PanelRun() { stop(); }

    // Before start: one more library preloaded after the ppdev shim, a
    // variable of the program's environment, or no ppdev stand-in at all.
    void preload(const QString& library) { preloads_ << library; }
    void setVariable(const QString& name, const QString& value) { extra_.insert(name, value); }
    void withoutPort() { port_ = false; }
    // Another of the project's programs instead of the panel (kavo-mqtt).
    void setProgram(const QString& program) { program_ = program; }

    // Starts the program in `session` (the display server's environment).
    bool start(const QProcessEnvironment& session, const QStringList& arguments = {},
               QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels);
    QProcess& process() { return process_; }

    // Polls `ready` until it holds; false once the time is up or the program
    // has ended without it.
    bool waitUntil(const std::function<bool()>& ready, int timeoutMs = 30000);
    // Under X: the main window mapped and showing its start-up skin; its
    // geometry, or a null rectangle when it did not come.
    QRect waitForWindow(const XSession& x);

    // Every byte written to the port, as "00 01 05".
    QString bytesWritten() const;
    // Every call on the port, one a line, as the shim logs them.
    QString portCalls() const;

    // Terminate, wait, kill.
    void stop();

    // The start-up skin, as the panel draws its client area.
    static QImage startupSkin();
    // Where the tests leave their screenshots, created.
    static QString screenshotDir();

  private:
    QTemporaryDir dir_;
    QStringList preloads_;
    QProcessEnvironment extra_;
    bool port_ = true;
    QString program_ = KAVO_PANEL;
    QProcess process_;
};
