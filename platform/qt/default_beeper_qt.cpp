#include "platform/default_beeper.h"
#include "qt_beeper.h"

namespace platform {

std::unique_ptr<core::Beeper> makeSystemBeeper() {
    return std::make_unique<qt::QtBeeper>();
}

} // namespace platform
