#include "panel_service.h"
#include "bus_names.h"
#include "panel_adaptor.h"

#include "ui/form1.h"
#include "ui/port_watch.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QLineEdit>
#include <QPushButton>

#include <ostream>

namespace remote {
namespace {

// A caller's text, fit to be quoted in a one-line answer.
QString quoted(const QString& text) {
    QString shown = text.left(40);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return '"' + shown + (text.size() > 40 ? "...\"" : "\"");
}

} // namespace

PanelService::PanelService(ui::Form1& form, QObject* parent) : QObject(parent), form_(form) {
    new PanelAdaptor(this);
    announced_ = current();
    connect(&form_, &ui::Form1::channelsChanged, this, [this] { announce(Part::Channels); });
    connect(&form_.timerPanel(), &scheduler::TimerPanel::rowChanged, this,
            [this] { announce(Part::Rows); });
    connect(&form_.portWatch(), &ui::PortWatch::statusChanged, this,
            [this] { announce(Part::Port); });
    // A window closed by the window manager switches nothing more, so it
    // stops offering to.
    connect(&form_, &ui::Form1::unloaded, this, &PanelService::withdraw);
}

PanelService::~PanelService() {
    withdraw();
}

bool PanelService::publish(const QDBusConnection& bus, QString* whyNot) {
    if (!bus.isConnected()) {
        const QString reason = bus.lastError().message();
        *whyNot = reason.isEmpty() ? QString("no session bus") : "no session bus (" + reason + ")";
        return false;
    }
    // The object first, so that whoever sees the name finds the object.
    QDBusConnection connection = bus;
    if (!connection.registerObject(ObjectPath, this, QDBusConnection::ExportAdaptors)) {
        *whyNot = QString("the object %1 is taken on the session bus").arg(ObjectPath);
        return false;
    }
    if (!connection.registerService(ServiceName)) {
        connection.unregisterObject(ObjectPath);
        const QDBusReply<uint> pid = connection.interface()->servicePid(ServiceName);
        *whyNot = pid.isValid()
                      ? QString("%1 is taken on the session bus by process %2 (another panel?)")
                            .arg(ServiceName)
                            .arg(pid.value())
                      : QString("cannot take the name %1 on the session bus: %2")
                            .arg(ServiceName, connection.lastError().message());
        return false;
    }
    bus_ = connection;
    published_ = true;
    return true;
}

void PanelService::withdraw() {
    if (!published_)
        return;
    published_ = false;
    bus_.unregisterService(ServiceName);
    bus_.unregisterObject(ObjectPath);
}

std::unique_ptr<PanelService> PanelService::onSessionBus(ui::Form1& form, std::ostream& log) {
    auto service = std::make_unique<PanelService>(form);
    QString whyNot;
    if (service->publish(QDBusConnection::sessionBus(), &whyNot))
        return service;
    log << QCoreApplication::applicationName().toStdString() << ": " << whyNot.toStdString()
        << "; kavo-ctl cannot reach this panel." << std::endl;
    return nullptr;
}

// ---- state -------------------------------------------------------------

short PanelService::portValue() const {
    return form_.outputRegister().PortValue();
}

QList<bool> PanelService::channelsOn() const {
    QList<bool> on;
    for (int n = 1; n <= core::ChannelCount; ++n)
        on << !form_.Command(n + core::ChannelCount)->isHidden(); // its OFF face shows
    return on;
}

QStringList PanelService::armedTimes() const {
    QStringList times;
    for (int n = 1; n <= core::ChannelCount; ++n)
        times << QString::fromStdString(form_.timerPanel().row(n).time);
    return times;
}

bool PanelService::portFailing() const {
    return form_.portWatch().failing();
}

QString PanelService::portError() const {
    const ui::PortWatch& watch = form_.portWatch();
    return watch.failing() ? QString::fromStdString(watch.lastStatus().describe()) : QString();
}

PanelService::State PanelService::current() const {
    return {portValue(), channelsOn(), armedTimes(), portFailing(), portError()};
}

void PanelService::announce(Part part) {
    const State now = current();
    QVariantMap changed;
    auto note = [&](const char* name, auto field) {
        if (announced_.*field == now.*field)
            return;
        announced_.*field = now.*field;
        changed.insert(name, QVariant::fromValue(now.*field));
    };
    switch (part) {
    case Part::Channels:
        note("PortValue", &State::portValue);
        note("ChannelsOn", &State::channelsOn);
        break;
    case Part::Rows:
        note("ArmedTimes", &State::armedTimes);
        break;
    case Part::Port:
        note("PortFailing", &State::portFailing);
        note("PortError", &State::portError);
        break;
    }
    if (changed.isEmpty() || !published_)
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(ObjectPath, PropertiesInterface, "PropertiesChanged");
    signal << QString(Interface) << changed << QStringList();
    bus_.send(signal);
}

// ---- methods -----------------------------------------------------------

void PanelService::refuse(const char* error, const QString& message) {
    if (calledFromDBus())
        sendErrorReply(error, message);
}

bool PanelService::isOpen() {
    if (!form_.isUnloaded())
        return true;
    refuse(error::Closed, "The panel's window was closed; it switches nothing more.");
    return false;
}

bool PanelService::accepts(int channel) {
    if (!isOpen())
        return false;
    if (channel < 1 || channel > core::ChannelCount) {
        refuse(error::NoSuchChannel, QString("There is no channel %1; channels are 1 to %2.")
                                         .arg(channel)
                                         .arg(core::ChannelCount));
        return false;
    }
    return true;
}

void PanelService::SwitchOn(int channel) {
    if (!accepts(channel))
        return;
    if (form_.Command(channel)->isHidden())
        return refuse(error::AlreadyOn, QString("Channel %1 is already on.").arg(channel));
    form_.ChannelOn_Click(channel);
}

void PanelService::SwitchOff(int channel) {
    if (!accepts(channel))
        return;
    if (form_.Command(channel + core::ChannelCount)->isHidden())
        return refuse(error::AlreadyOff, QString("Channel %1 is already off.").arg(channel));
    form_.ChannelOff_Click(channel);
}

void PanelService::AllOn() {
    if (isOpen())
        form_.EMAO_Click();
}

void PanelService::AllOff() {
    if (isOpen())
        form_.EMAOF_Click();
}

void PanelService::Arm(int channel, const QString& time) {
    if (!accepts(channel))
        return;
    scheduler::TimerPanel& panel = form_.timerPanel();
    if (panel.isArmed(channel))
        return refuse(error::AlreadyArmed,
                      QString("Channel %1 is already armed for %2; cancel it first.")
                          .arg(channel)
                          .arg(QString::fromStdString(panel.row(channel).time)));
    // Typed into the row and its box set, as the user does; the row's own
    // handler decides, and refuses a text that is not a clock time with its beep.
    QLineEdit* text = form_.Text(channel);
    const QString before = text->text();
    text->setText(time);
    form_.Check(channel)->setCheckState(Qt::Checked);
    if (panel.isArmed(channel))
        return;
    // The panel keeps a refused text for the user at the window to correct;
    // nobody there typed this one, so the row gets back what it showed.
    text->setText(before);
    refuse(error::NotATime, QString("%1 is not a time of day as HH:MM:SS (24-hour, two digits "
                                    "each: 6 pm is 18:00:00).")
                                .arg(quoted(time)));
}

void PanelService::Disarm(int channel) {
    if (!accepts(channel))
        return;
    if (!form_.timerPanel().isArmed(channel))
        return refuse(error::NotArmed, QString("Channel %1 is not armed.").arg(channel));
    form_.Check(channel)->setCheckState(Qt::Unchecked);
}

} // namespace remote
