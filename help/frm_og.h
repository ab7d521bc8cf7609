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
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
};

} // namespace help
