#pragma once
#include "core/beeper.h"

namespace platform::qt {

// The window system's own beep.
class QtBeeper : public core::Beeper {
  public:
    void beep() override;
};

} // namespace platform::qt
