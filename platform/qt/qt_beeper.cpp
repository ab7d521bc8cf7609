#include "qt_beeper.h"
#include "platform/default_beeper.h"

#include <QApplication>

namespace platform::qt {

void QtBeeper::beep() {
    QApplication::beep();
}

} // namespace platform::qt

namespace platform {
std::unique_ptr<Beeper> makeSystemBeeper() {
    return std::make_unique<qt::QtBeeper>();
}
} // namespace platform
