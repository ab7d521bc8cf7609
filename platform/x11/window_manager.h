#pragma once
// What the program asks of an X11 window manager beyond Qt's own API: the
// EWMH messages and properties behind dragging a window by its surface,
// keeping secondary windows off the taskbar, and learning who the window
// manager is. Everything here is a no-op (or answers "no") when the program
// does not run on an X server.

#include <QPoint>
#include <QString>

#include <initializer_list>

class QWindow;

namespace platform::x11 {

// True when the program talks to an X server.
bool available();

// The name the running EWMH window manager gives itself ("Openbox"), or
// empty when no such window manager runs.
QString windowManagerName();

enum class MoveStart {
    Started,        // the window manager moves the window until the button is released
    ButtonReleased, // the button is already up at the server: nothing to move
    Unsupported,    // no window manager that moves windows on request
};

// Hands a left-button drag of `window` to the window manager. `pressPos` is
// where the pointer is now, in global coordinates, with the window already
// moved after it: the window manager moves the window only by the motion
// still to come, keeping the pointer at that spot of the window.
MoveStart startMove(QWindow* window, QPoint pressPos);

// Ends a move started by startMove() whose button release reached the
// program instead of the window manager.
void cancelMove(QWindow* window);

// Asks the window manager to activate `window` (_NET_ACTIVE_WINDOW) on the
// user's behalf (source indication 2, a pager), so that focus-stealing
// prevention lets it through: for a request the user made elsewhere.
void activate(QWindow* window);

// Adds _NET_WM_STATE_SKIP_TASKBAR to a window that is not mapped yet; Qt
// keeps it when it maps the window.
void setSkipTaskbar(QWindow* window);

// Replaces _NET_WM_WINDOW_TYPE of a window that is not mapped yet with these
// types ("_NET_WM_WINDOW_TYPE_DIALOG", ...), most specific first.
void setWindowTypes(QWindow* window, std::initializer_list<const char*> types);

} // namespace platform::x11
