#pragma once
// A private X server (Xvfb), optionally with a window manager, and the
// command-line X tools the end-to-end tests drive it with: xdotool to click
// and type, xwininfo to find windows, xprop to read their properties, and
// ImageMagick's import to take screenshots.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class XSession {
  public:
    XSession();
    ~XSession();
    bool start(QString* error);
    // Starts openbox on this display and waits until it manages windows.
    bool startWindowManager(QString* error);
    QString display() const { return display_; }
    QProcessEnvironment environment() const;

    // Runs a tool on this display and returns its standard output.
    QString run(const QString& program, const QStringList& args, int timeoutMs = 15000) const;
    // The outer geometry of the first visible window with exactly this title.
    QRect windowGeometry(const QString& title, QString* id = nullptr) const;
    bool waitForWindow(const QString& title, int timeoutMs = 15000) const;
    bool waitForNoWindow(const QString& title, int timeoutMs = 15000) const;
    // The area once drawn anew: its pixels differ from what `before` (a
    // screenshot) showed there and hold still between two screenshots. A new
    // window shows what was beneath it until it draws itself. Null when that
    // does not happen in time.
    QImage redrawn(const QRect& area, const QImage& before, int timeoutMs = 15000) const;
    // The value of a window's property as xprop prints it after " = ", or
    // empty when the window has no such property.
    QString property(const QString& id, const QString& name) const;
    QImage screenshot() const;
    void moveMouse(QPoint to) const;
    void click(QPoint at, int button = 1) const;
    void drag(QPoint from, QPoint to) const;
    void key(const QString& keys) const;

    static constexpr int ScreenWidth = 1024;
    static constexpr int ScreenHeight = 768;

  private:
    QProcess xvfb_;
    QProcess windowManager_;
    QTemporaryDir windowManagerConfig_;
    QString display_;
};
