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
    // The design's names for the buttons' click handlers.
    void Command1_Click() { Command_Click(1); }
    void Command2_Click() { Command_Click(2); }
    void Command3_Click() { Command_Click(3); }
    void Command4_Click() { Command_Click(4); }
    void Command5_Click() { Command_Click(5); }
};

} // namespace help
