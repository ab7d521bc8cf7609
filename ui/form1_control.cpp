// Form1's side of ui::PanelControl: each command is the handler of the
// control it stands for, and the state is read from the controls that show it.
#include "form1.h"
#include "panel_control.h"
#include "picture_button.h"
#include "port_watch.h"

#include "platform/x11/window_manager.h"

#include <QCheckBox>
#include <QLineEdit>

namespace ui {
namespace {

class WindowControl final : public PanelControl {
  public:
    explicit WindowControl(Form1& form) : form_(form) {
        connect(&form_, &Form1::channelsChanged, this, [this] { emit changed(Aspect::Channels); });
        connect(&form_.timerPanel(), &scheduler::TimerPanel::rowChanged, this,
                [this] { emit changed(Aspect::Rows); });
        connect(&form_.portWatch(), &PortWatch::statusChanged, this,
                [this] { emit changed(Aspect::Port); });
        connect(&form_, &Form1::unloaded, this, [this] { emit changed(Aspect::Open); });
    }

    core::PortStatus switchOn(int channel) override {
        form_.ChannelOn_Click(channel);
        return form_.lastWrite();
    }
    core::PortStatus switchOff(int channel) override {
        form_.ChannelOff_Click(channel);
        return form_.lastWrite();
    }
    core::PortStatus allOn() override {
        form_.EMAO_Click();
        return form_.lastWrite();
    }
    core::PortStatus allOff() override {
        form_.EMAOF_Click();
        return form_.lastWrite();
    }

    bool arm(int channel, const QString& time) override {
        QLineEdit* text = form_.Text(channel);
        const QString before = text->text();
        text->setText(time);
        form_.Check(channel)->setCheckState(Qt::Checked);
        if (isArmed(channel))
            return true;
        // The row keeps a refused text for the user at the window to correct;
        // nobody there typed this one.
        text->setText(before);
        return false;
    }

    void disarm(int channel) override { form_.Check(channel)->setCheckState(Qt::Unchecked); }

    void bringToFront() override {
        if (form_.isMinimized())
            form_.showNormal();
        else
            form_.show();
        form_.raise();
        form_.activateWindow();
        // Qt asks as the application does; a window manager that prevents
        // focus stealing refuses that to a program the user did not just
        // click. The user did ask: through the second panel.
        platform::x11::activate(form_.windowHandle());
    }

    std::int16_t portValue() const override { return form_.outputRegister().PortValue(); }
    bool isOn(int channel) const override { return !form_.channel(channel).off->isHidden(); }
    bool isArmed(int channel) const override { return form_.timerPanel().isArmed(channel); }
    QString armedTime(int channel) const override {
        return QString::fromStdString(form_.timerPanel().row(channel).time);
    }
    bool portFailing() const override { return form_.portWatch().failing(); }
    QString portError() const override {
        const PortWatch& watch = form_.portWatch();
        return watch.failing() ? QString::fromStdString(watch.lastStatus().describe()) : QString();
    }
    bool isOpen() const override { return !form_.isUnloaded(); }

  private:
    Form1& form_;
};

} // namespace

std::unique_ptr<PanelControl> Form1::makeControl() {
    return std::make_unique<WindowControl>(*this);
}

} // namespace ui
