// Builds without X11: there is no window manager to ask.
#include "window_manager.h"

namespace platform::x11 {

bool available() {
    return false;
}
QString windowManagerName() {
    return {};
}
MoveStart startMove(QWindow*, QPoint) {
    return MoveStart::Unsupported;
}
void cancelMove(QWindow*) {}
void activate(QWindow*) {}
void setSkipTaskbar(QWindow*) {}
void setWindowTypes(QWindow*, std::initializer_list<const char*>) {}

} // namespace platform::x11
