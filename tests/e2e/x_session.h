#pragma once
// A private X server (Xvfb) and the command-line X tools the end-to-end test
// drives it with: xdotool to click and type, xwininfo to find windows, and
// ImageMagick's import to take screenshots.

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

class XSession {
  public:
    XSession();
    ~XSession();
    bool start(QString* error);
    QString display() const { return display_; }
    QProcessEnvironment environment() const;

    // Runs a tool on this display and returns its standard output.
    QString run(const QString& program, const QStringList& args, int timeoutMs = 15000) const;
    // The outer geometry of the first visible window with exactly this title.
    QRect windowGeometry(const QString& title, QString* id = nullptr) const;
    bool waitForWindow(const QString& title, int timeoutMs = 15000) const;
    bool waitForNoWindow(const QString& title, int timeoutMs = 15000) const;
    QImage screenshot() const;
    void moveMouse(QPoint to) const;
    void click(QPoint at, int button = 1) const;
    void drag(QPoint from, QPoint to) const;
    void key(const QString& keys) const;

    static constexpr int ScreenWidth = 1024;
    static constexpr int ScreenHeight = 768;

  private:
    QProcess xvfb_;
    QString display_;
};
