#include "secondary_window.h"

#include <stdexcept>

namespace ui {

QWidget* SecondaryWindow::show() {
    if (!window_) {
        QWidget* created = factory_();
        if (!created)
            throw std::runtime_error("the window could not be created");
        created->setAttribute(Qt::WA_DeleteOnClose);
        window_ = created;
    }
    // Brought to the front also from a minimised state: it has no taskbar
    // button to be restored from.
    window_->setWindowState(window_->windowState() & ~Qt::WindowMinimized);
    window_->show();
    window_->raise();
    window_->activateWindow();
    return window_.data();
}

} // namespace ui
