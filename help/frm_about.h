#pragma once
// frmAbout: the program's title, version and description, the maker's
// credit, and a button that starts the system-information tool.

#include "sys_info.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace platform {
class Registry;
class ProgramStarter;
} // namespace platform

namespace help {

class FrmAbout : public QDialog {
    Q_OBJECT
  public:
    // `showMessage` shows the "unavailable" message; by default a message box
    // over this window.
    FrmAbout(platform::Registry& registry, platform::ProgramStarter& starter,
             ShowMessage showMessage = {});

  public slots:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void StartSysInfo();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    platform::Registry& registry_;
    platform::ProgramStarter& starter_;
    ShowMessage showMessage_;
    QPixmap background_;
    QPushButton* cmdOK_ = nullptr;
    QPushButton* cmdSysInfo_ = nullptr;
    QLabel* picIcon_ = nullptr;
    QLabel* lblDescription_ = nullptr;
    QLabel* lblDisclaimer_ = nullptr;
    QLabel* lblTitle_ = nullptr;
    QLabel* lblVersion_ = nullptr;
};

} // namespace help
