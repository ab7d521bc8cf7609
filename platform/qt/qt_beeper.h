#pragma once
#include "platform/beeper.h"

namespace platform::qt {

// The window system's own beep.
class QtBeeper : public platform::Beeper {
  public:
    void beep() override;
};

} // namespace platform::qt
