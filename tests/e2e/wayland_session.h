#pragma once
// A private Wayland compositor for end-to-end tests: weston's headless
// backend with the pixman renderer (so screenshots hold real pixels), its own
// runtime directory and socket, a plain background and no animations.

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

class WaylandSession {
  public:
    ~WaylandSession();
    // False, with the reason, when weston is missing or cannot start.
    bool start(QString* error);
    QProcessEnvironment environment() const;
    // The whole output, taken with weston-screenshooter; null on failure.
    QImage screenshot() const;

    static constexpr int Width = 1024;
    static constexpr int Height = 768;
    static constexpr QRgb Background = 0xff204060; // the desktop behind every window

  private:
    QTemporaryDir runtime_; // created 0700, as XDG_RUNTIME_DIR must be
    QTemporaryDir work_;
    QString socket_;
    QProcess weston_;
};
