#pragma once
// Form1, the main window: a borderless panel cut to the outline of its
// picture. It is a view of panel::PanelModel: its handlers hand the user's
// actions to the model and the controls show the model's state, whoever
// changed it. Besides the model:
//   ui::TimerPanel             the timer panel's rows and mode buttons
//   scheduler::clockLabelText  the clock label
//   ui::Skins                  the Skin menu and the plain view ("X&P")
//   ui::shaped::ShapedForm     the cut and dragging by the surface
//   ui::SecondaryWindow        the guide, wiring diagram and About windows
//   ui::PortIndicator          the port warning
// Everything outside the window (the model, clock, secondary windows, ending
// the program) comes in through Services, so tests can fake it. Whatever
// drives the panel from outside does so through the model, never through
// the window's controls.
//
// The per-channel controls are made in one loop from the channel model
// (core::ChannelCount) and a layout table; the ten buttons of the window
// itself come from one table too. Each control keeps its design name as its
// objectName: Command1..Command8 (ON and OFF faces), Check1..Check4,
// Text1..Text4, Timer1 (the clock) and Timer2..Timer5 (the rows),
// Command9..Command18, Picture1..Picture9.

#include "core/clock.h"
#include "core/output_register.h"
#include "core/port_output.h"
#include "core/switchboard.h"
#include "panel/panel_model.h"
#include "ui/secondary_window.h"
#include "ui/timer_panel.h"

#include <QHash>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>
#include <future>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;

namespace ui {

namespace shaped {
class ShapedForm;
}
class MenuBar;
class PanelButton;
class PortIndicator;
class Skins;

// Decoded pictures by resource path, each decoded on first use and shared by
// every holder that keeps the same picture.
class PictureStore {
  public:
    // Starts decoding `path` on another thread, for a picture that is
    // needed before long; image() then waits for it.
    void prefetch(const QString& path);
    const QImage& image(const QString& path);
    // The picture as drawn at this device pixel ratio (see ui::sharpestPicture).
    const QImage& shownImage(const QString& path, qreal devicePixelRatio);

  private:
    QHash<QString, QImage> images_;
    QHash<QString, QImage> doubled_;
    QHash<QString, std::shared_future<QImage>> pending_;
};

// A hidden picture box that only stores a skin picture. It keeps where the
// picture comes from and decodes it when it is first asked for.
class PictureHolder : public QWidget {
    Q_OBJECT
  public:
    PictureHolder(PictureStore& store, QString path, QWidget* parent);
    const QImage& picture() const;
    const QImage& shownPicture(qreal devicePixelRatio) const;
    const QString& path() const { return path_; }

  private:
    PictureStore& store_;
    QString path_;
};

// The buttons of the window itself, in the order the skins set them.
enum class WindowButton {
    Exit,       // Command9 "&X"
    Minimise,   // Command10 "&_"
    About,      // Command11 "&?"
    TimerMode,  // Command12
    SimpleMode, // Command13
    AllOn,      // Command14
    AllOff,     // Command15
    Wiring,     // Command16
    Guide,      // Command17
    Plain,      // Command18 "X&P"
};
inline constexpr int WindowButtonCount = 10;
// The design number of the first window button: after both faces of every channel.
inline constexpr int FirstWindowButton = 2 * core::ChannelCount + 1;

struct WindowButtonDesign {
    const char* caption;
    QRect place;
    bool visibleAtStart;
    const char* accessibleName;
};
extern const std::array<WindowButtonDesign, WindowButtonCount> WindowButtons;

class Form1 : public QWidget, private core::ChannelFaces {
    Q_OBJECT
  public:
    struct Services {
        panel::PanelModel& model;
        const core::Clock& clock;
        std::function<void()> endProgram;
        SecondaryWindow::Factory guide = {};
        SecondaryWindow::Factory wiring = {};
        SecondaryWindow::Factory about = {};
    };

    // One channel's controls.
    struct Channel {
        PanelButton* on = nullptr;  // Command<n>, shown while the channel is off
        PanelButton* off = nullptr; // Command<n + ChannelCount>, shown while it is on
        RowWidgets row;             // Check<n>, Text<n>
    };

    static constexpr int ClientWidth = 301;
    static constexpr int ClientHeight = 486;
    static QColor designBackColour() { return QColor(255, 128, 0); }

    explicit Form1(Services services, QWidget* parent = nullptr);
    ~Form1() override;

    panel::PanelModel& model() { return model_; }
    const core::OutputRegister& outputRegister() const { return model_.outputRegister(); }
    TimerPanel& timerPanel() { return *timerPanel_; }
    panel::PortHealth& portWatch() { return model_.health(); }
    // The window's picture: the one its outline is cut from.
    const QImage& picture() const { return picture_; }
    // Makes a holder's picture the window's picture.
    void wear(const PictureHolder& holder);
    void setPicture(const QImage& picture);
    // The form's own background, where the picture does not cover it. The
    // controls keep their standard colours whatever it is.
    QColor backColour() const { return backColour_; }
    void setBackColour(const QColor& colour);
    shaped::ShapedForm& shapedForm() { return *ShapedForm1; }
    QMenu* menuBar() const;
    MenuBar& menus() const { return *menu_; }
    SecondaryWindow& guideWindow() { return guide_; }
    SecondaryWindow& wiringWindow() { return wiring_; }
    SecondaryWindow& aboutWindow() { return about_; }
    // The outcome of a port write, as the port monitor reports it.
    void showPortStatus(const core::PortStatus& status) { model_.showPortStatus(status); }
    // Shows the window centred on its screen.
    void showCentred();
    // True once the window was closed other than by the exit commands, or
    // halted.
    bool isUnloaded() const { return unloaded_; }
    // An error is about to be reported: nothing switches any more, by row,
    // retry or command, and the port keeps its last byte, as when the window
    // is closed.
    void halt() { unload(); }
    // Brings the window to the front, un-minimised and active: a second panel
    // for the same board hands the user this one instead.
    void bringToFront();

    // Controls, by their design names.
    const std::array<Channel, core::ChannelCount>& channels() const { return channels_; }
    const Channel& channel(int n) const { return channels_.at(static_cast<std::size_t>(n - 1)); }
    QPushButton* button(WindowButton which) const;
    QPushButton* Command(int n) const; // Command1..Command18
    QCheckBox* Check(int n) const { return channel(n).row.check; }
    QLineEdit* Text(int n) const { return channel(n).row.text; }
    QTimer* Timer(int n) const; // Timer1 is the clock, Timer2.. the rows
    PictureHolder* Picture(int n) const { return pictures_.at(static_cast<std::size_t>(n - 1)); }
    static constexpr int PictureCount = 9;
    QLabel* Label1 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Image1 = nullptr;
    PortIndicator* portIndicator = nullptr;
    shaped::ShapedForm* ShapedForm1 = nullptr;

  signals:
    // The window was closed by the window manager or the session: its timers
    // have stopped and it writes nothing more.
    void unloaded();

  public slots:
    void Form_Load();
    // The switching buttons of channel n: ON is Command<n>, OFF Command<n + ChannelCount>.
    void ChannelOn_Click(int channel);
    void ChannelOff_Click(int channel);
    // The timer panel's row n: its check box Check<n> and its timer Timer<n + 1>.
    void Check_Click(int channel);
    void Timer_Timer(int channel);
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

    // The design's names for the per-channel handlers.
    void Command1_Click() { ChannelOn_Click(1); }
    void Command2_Click() { ChannelOn_Click(2); }
    void Command3_Click() { ChannelOn_Click(3); }
    void Command4_Click() { ChannelOn_Click(4); }
    void Command5_Click() { ChannelOff_Click(1); }
    void Command6_Click() { ChannelOff_Click(2); }
    void Command7_Click() { ChannelOff_Click(3); }
    void Command8_Click() { ChannelOff_Click(4); }
    void Check1_Click() { Check_Click(1); }
    void Check2_Click() { Check_Click(2); }
    void Check3_Click() { Check_Click(3); }
    void Check4_Click() { Check_Click(4); }
    void Timer2_Timer() { Timer_Timer(1); }
    void Timer3_Timer() { Timer_Timer(2); }
    void Timer4_Timer() { Timer_Timer(3); }
    void Timer5_Timer() { Timer_Timer(4); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildChannels();
    void buildWindowButtons();
    void buildLabels();
    void buildPictureHolders();
    void buildTabOrder();
    void connectControls();
    void unload();
    void setOnFaceVisible(int channel, bool visible) override;
    void setOffFaceVisible(int channel, bool visible) override;

    Services services_;
    panel::PanelModel& model_;
    PictureStore pictureStore_;
    QImage picture_;
    QImage shown_; // picture_, or its 2x rendering on a scaled screen
    std::array<Channel, core::ChannelCount> channels_{};
    std::array<PanelButton*, WindowButtonCount> windowButtons_{};
    std::array<PictureHolder*, PictureCount> pictures_{};
    QTimer* clockTimer_ = nullptr; // Timer1
    QButtonGroup* onButtons_ = nullptr;
    QButtonGroup* offButtons_ = nullptr;
    QColor backColour_ = designBackColour();
    MenuBar* menu_ = nullptr; // owned by the window, like every control
    TimerPanel* timerPanel_ = nullptr;
    Skins* skins_ = nullptr;
    SecondaryWindow guide_;
    SecondaryWindow wiring_;
    SecondaryWindow about_;
    bool unloaded_ = false;
};

} // namespace ui
