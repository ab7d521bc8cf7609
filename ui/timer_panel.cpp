#include "timer_panel.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace ui {

TimerPanel::TimerPanel(const PanelWidgets& widgets, panel::PanelModel& model, QObject* parent)
    : QObject(parent), w_(widgets), model_(model) {
    for (const RowWidgets& row : w_.rows)
        setLook(row.text, idleColour());
    connect(&model_, &panel::PanelModel::rowChanged, this, &TimerPanel::showRow);
}

void TimerPanel::setPanelVisible(bool visible) {
    for (const RowWidgets& row : w_.rows)
        row.check->setVisible(visible);
    for (const RowWidgets& row : w_.rows)
        row.text->setVisible(visible);
    w_.hint->setVisible(visible);
}

void TimerPanel::Command12_Click() {
    setPanelVisible(true);
    w_.simpleModeButton->setVisible(true);
    w_.timerModeButton->setVisible(false);
}

void TimerPanel::Command13_Click() {
    setPanelVisible(false);
    w_.timerModeButton->setVisible(true);
    w_.simpleModeButton->setVisible(false);
}

void TimerPanel::TM_Click() {
    setPanelVisible(true);
}
void TimerPanel::SM_Click() {
    setPanelVisible(false);
}

void TimerPanel::setLook(QLineEdit* text, const QColor& background) {
    // The text colour goes with the background, so a dark desktop theme's
    // light text never lands on the bright red or green.
    QPalette palette = text->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Text, Qt::black);
    }
    text->setPalette(palette);
}

void TimerPanel::Check_Click(int channel) {
    const RowWidgets& w = widgets(channel);
    if (w.check->checkState() != Qt::Checked)
        return model_.disarm(channel);
    if (model_.arm(channel, w.text->text().toStdString()))
        return;
    // The refusal keeps the typed text for correction.
    const QSignalBlocker block(w.check);
    w.check->setCheckState(Qt::Unchecked);
}

void TimerPanel::showRow(int channel) {
    const RowWidgets& w = widgets(channel);
    const bool armed = model_.isArmed(channel);
    {
        // Showing the row is no click: the model has decided already.
        const QSignalBlocker block(w.check);
        w.check->setCheckState(armed ? Qt::Checked : Qt::Unchecked);
    }
    w.text->setReadOnly(armed);
    const QString shown =
        armed ? QString::fromStdString(model_.armedTime(channel)) : QString(panel::IdleText);
    if (w.text->text() != shown) // the user's own text keeps its cursor
        w.text->setText(shown);
    setLook(w.text, armed ? armedColour() : idleColour());
}

} // namespace ui
