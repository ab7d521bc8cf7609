#pragma once
// frmOG: the installation and operation guide, a cover and three pages
// stepped through in order with "&1", "&2", "&3" and back with "&Repete".

#include "page_stepper.h"

namespace help {

class FrmOG : public PagedWindow {
    Q_OBJECT
  public:
    FrmOG();

  public slots:
    // The design's names for the buttons' click handlers.
    void Command1_Click() { Command_Click(1); }
    void Command2_Click() { Command_Click(2); }
    void Command3_Click() { Command_Click(3); }
    void Command4_Click() { Command_Click(4); }
};

} // namespace help
