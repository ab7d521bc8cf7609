#include "secondary_frame.h"

#include "platform/x11/window_manager.h"
#include "ui/look.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>
#include <QWidget>
#include <QWindow>

namespace help {

SecondaryFrame::SecondaryFrame(QWidget* window, Placement placement)
    : QObject(window), window_(window), placement_(placement) {
    window_->setWindowIcon(ui::programIcon());
    window_->installEventFilter(this);
}

void SecondaryFrame::prepareNativeWindow(QWindow* handle) {
    // Without a parent a dialog gets a taskbar button; the design has none.
    platform::x11::setSkipTaskbar(handle);
    // Openbox ignores the request for no minimise button that Qt makes for
    // a dialog (the Motif hints); it leaves minimising out for toolbar
    // windows only. A minimised window with no taskbar button would be hard
    // to find again. Other window managers honour the Motif hints.
    if (platform::x11::windowManagerName() == QLatin1String("Openbox"))
        platform::x11::setWindowTypes(
            handle, {"_NET_WM_WINDOW_TYPE_TOOLBAR", "_NET_WM_WINDOW_TYPE_DIALOG"});
}

void SecondaryFrame::centre() {
    QScreen* screen = window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Until the window is mapped the frame is unknown and counts as none.
    const QMargins frame = handle_ ? handle_->frameMargins() : QMargins();
    const QPoint frameTopLeft = ui::centredTopLeft(window_->size().grownBy(frame), screen);
    const QRect client(frameTopLeft + QPoint(frame.left(), frame.top()), window_->size());
    if (window_->geometry() != client)
        window_->setGeometry(client);
}

bool SecondaryFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show && !event->spontaneous()) {
        // Sent before the window is mapped: the last moment to tell the
        // window manager how to treat it.
        if (QWindow* handle = window_->windowHandle()) {
            prepareNativeWindow(handle);
            if (handle_ != handle) {
                handle_ = handle;
                handle->installEventFilter(this);
            }
        }
        if (placement_ == Placement::Centred) {
            centre();
            awaitingFrame_ = true;
        }
    } else if (watched == handle_ && event->type() == QEvent::Expose && awaitingFrame_ &&
               handle_->isExposed()) {
        // Mapped: now the window manager has said how wide its frame is.
        awaitingFrame_ = false;
        centre();
    }
    return false;
}

} // namespace help
