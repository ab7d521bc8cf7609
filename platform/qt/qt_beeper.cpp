#include "qt_beeper.h"

#include <QApplication>

namespace platform::qt {

void QtBeeper::beep() {
    QApplication::beep();
}

} // namespace platform::qt
