#pragma once
// The timer panel's widgets: one row per channel (check box Check<n>, time
// text box Text<n>), the hint and the two mode buttons. The rows' state and
// their timers are the model's (panel::ScheduleRows); this shows them.
// Setting a row's check box hands the row's text to the model to arm; an
// armed row shows its time read-only on green, an idle one "hh:mm:ss" on red.
// A refused text stays in the box for the user to correct.

#include "panel/panel_model.h"

#include <QColor>
#include <QObject>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

struct RowWidgets {
    QCheckBox* check = nullptr;
    QLineEdit* text = nullptr;
};

struct PanelWidgets {
    std::array<RowWidgets, panel::RowCount> rows{};
    QLabel* hint = nullptr;
    QPushButton* timerModeButton = nullptr;  // "&Timer Mode"
    QPushButton* simpleModeButton = nullptr; // "&Simple Mode"
};

class TimerPanel : public QObject {
    Q_OBJECT
  public:
    // Gives every row its idle look.
    TimerPanel(const PanelWidgets& widgets, panel::PanelModel& model, QObject* parent = nullptr);

    // Handlers, by the names of the controls that raise them. The owner
    // connects each check box's state change (not its click: code that
    // clears a box must disarm it too) to Check_Click.
    void Command12_Click(); // "&Timer Mode": show the panel, swap the mode buttons
    void Command13_Click(); // "&Simple Mode": hide the panel, swap back
    void TM_Click();        // show the panel only
    void SM_Click();        // hide the panel only
    void Check_Click(int channel);

    bool isArmed(int channel) const { return model_.isArmed(channel); }

    static QColor idleColour() { return {255, 0, 0}; }
    static QColor armedColour() { return {0, 255, 0}; }

  private:
    static std::size_t at(int channel) { return static_cast<std::size_t>(channel - 1); }
    const RowWidgets& widgets(int channel) const { return w_.rows.at(at(channel)); }
    void setPanelVisible(bool visible);
    void showRow(int channel);
    static void setLook(QLineEdit* text, const QColor& background);

    PanelWidgets w_;
    panel::PanelModel& model_;
};

} // namespace ui
