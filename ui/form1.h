#pragma once
// Form1, the main window: a borderless panel cut to the outline of its
// picture. It only builds the controls and routes their events; the
// behaviour lives with each subsystem:
//   core::Switchboard          channel buttons, All On/Off, Emergency menu
//   scheduler::TimerPanel      timer panel rows and scheduled switching
//   scheduler::clockLabelText  the clock label
//   ui::Skins                  the Skin menu and the plain view ("X&P")
//   ui::shaped::ShapedForm     the cut and dragging by the surface
//   ui::SecondaryWindow        the guide, wiring diagram and About windows
// Everything outside the program (port, beep, clock, secondary windows,
// ending the program) comes in through Services, so tests can fake it.

#include "core/output_register.h"
#include "core/switchboard.h"
#include "platform/beeper.h"
#include "platform/clock.h"
#include "platform/port_output.h"
#include "ui/secondary_window.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace scheduler {
class TimerPanel;
}

namespace ui {

namespace shaped {
class ShapedForm;
}
class MenuBar;
class PortIndicator;
class Skins;

// A hidden picture box that only stores a skin picture.
class PictureHolder : public QWidget {
    Q_OBJECT
  public:
    PictureHolder(const QImage& picture, QWidget* parent);
    const QImage& picture() const { return picture_; }

  private:
    QImage picture_;
};

class Form1 : public QWidget, private core::ChannelFaces {
    Q_OBJECT
  public:
    struct Services {
        platform::PortOutput& port;
        platform::Beeper& beeper;
        const platform::Clock& clock;
        std::function<void()> endProgram;
        SecondaryWindow::Factory guide;
        SecondaryWindow::Factory wiring;
        SecondaryWindow::Factory about;
    };

    static constexpr int ClientWidth = 301;
    static constexpr int ClientHeight = 486;
    static QColor designBackColour() { return QColor(255, 128, 0); }

    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    const core::OutputRegister& outputRegister() const { return register_; }
    scheduler::TimerPanel& timerPanel() { return *timerPanel_; }
    const QImage& picture() const { return picture_; }
    void setPicture(const QImage& picture);
    // The form's own background, where the picture does not cover it. The
    // controls keep their standard colours whatever it is.
    QColor backColour() const { return backColour_; }
    void setBackColour(const QColor& colour);
    shaped::ShapedForm& shapedForm() { return *ShapedForm1; }
    QMenu* menuBar() const;
    SecondaryWindow& guideWindow() { return guide_; }
    SecondaryWindow& wiringWindow() { return wiring_; }
    SecondaryWindow& aboutWindow() { return about_; }
    void showPortStatus(const platform::PortStatus& status);
    // Shows the window centred on its screen.
    void showCentred();

    // Controls, named as the panel's design names them.
    std::array<QPushButton*, 19> Command{};   // Command[1]..Command[18]
    std::array<QCheckBox*, 5> Check{};        // Check[1]..Check[4]
    std::array<QLineEdit*, 5> Text{};         // Text[1]..Text[4]
    std::array<QTimer*, 6> Timer{};           // Timer[1]..Timer[5]
    std::array<PictureHolder*, 10> Picture{}; // Picture[1]..Picture[9]
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image1 = nullptr;
    PortIndicator* portIndicator = nullptr;
    shaped::ShapedForm* ShapedForm1 = nullptr;

  public slots:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    void Command12_Click();
    void Command13_Click();
    void Command14_Click();
    void Command15_Click();
    void Command16_Click();
    void Command17_Click();
    void Command18_Click();
    void EMAO_Click();
    void EMAOF_Click();
    void TM_Click();
    void SM_Click();
    void OM_Click();
    void WD_Click();
    void AD_Click();
    void x_Click();
    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check4_Click();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void buildControls();
    void buildTabOrder();
    void connectControls();
    void setOnFaceVisible(int channel, bool visible) override;
    void setOffFaceVisible(int channel, bool visible) override;

    Services services_;
    core::OutputRegister register_;
    core::Switchboard switchboard_;
    QImage picture_;
    QColor backColour_ = designBackColour();
    MenuBar* menu_ = nullptr; // owned by the window, like every control
    scheduler::TimerPanel* timerPanel_ = nullptr;
    Skins* skins_ = nullptr;
    SecondaryWindow guide_;
    SecondaryWindow wiring_;
    SecondaryWindow about_;
};

} // namespace ui
