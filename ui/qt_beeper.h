#pragma once
#include "platform/beeper.h"

#include <QApplication>

namespace ui {

class QtBeeper : public platform::Beeper {
  public:
    void beep() override { QApplication::beep(); }
};

} // namespace ui
