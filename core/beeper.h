#pragma once

namespace core {

// The system beep. Manual switching sounds it; scheduled switching does not.
class Beeper {
  public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

} // namespace core
