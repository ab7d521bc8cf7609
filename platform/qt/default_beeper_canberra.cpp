#include "platform/application_id.h"
#include "platform/canberra/canberra_beeper.h"
#include "platform/default_beeper.h"
#include "platform/silent_beep.h"
#include "qt_beeper.h"

#include <QGuiApplication>

namespace platform {

// Qt's own beep where it sounds (X11); the desktop's bell sound through
// libcanberra where Qt's beep is silent (Wayland).
std::unique_ptr<core::Beeper> makeSystemBeeper() {
    if (platformBeepIsSilent(QGuiApplication::platformName().toStdString()))
        return std::make_unique<canberra::CanberraBeeper>(applicationId, "KAVO Relay Panel");
    return std::make_unique<qt::QtBeeper>();
}

} // namespace platform
