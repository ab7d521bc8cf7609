#pragma once
// frmWiring: the wiring diagram, a cover and four pages stepped through in
// order with "&1" to "&4" and back with "&Repete".

#include "page_stepper.h"

namespace help {

class FrmWiring : public PagedWindow {
    Q_OBJECT
  public:
    FrmWiring();

  public slots:
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
};

} // namespace help
