#include "panel_service.h"
#include "bus_names.h"
#include "panel2_adaptor.h"
#include "panel_adaptor.h"

#include "core/channels.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <ostream>

namespace remote {
namespace {

using Aspect = ui::PanelControl::Aspect;

// A caller's text, fit to be quoted in a one-line answer.
QString quoted(const QString& text) {
    QString shown = text.left(40);
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = u'?';
    return '"' + shown + (text.size() > 40 ? "...\"" : "\"");
}

} // namespace

PanelService::PanelService(ui::PanelControl& panel, const QString& board, QObject* parent)
    : QObject(parent), panel_(panel), board_(board),
      serviceName_(QString::fromStdString(remote::serviceName(board.toStdString()))) {
    new PanelAdaptor(this);
    new Panel2Adaptor(this);
    announced_ = current();
    connect(&panel_, &ui::PanelControl::changed, this, [this](Aspect aspect) {
        // A window closed by the window manager switches nothing more, so it
        // stops offering to.
        if (aspect == Aspect::Open && !panel_.isOpen())
            return withdraw();
        announce(aspect);
    });
}

PanelService::~PanelService() {
    withdraw();
}

PanelService::Claim PanelService::claimName(const QDBusConnection& bus, const QString& name) {
    if (!bus.isConnected())
        return Claim::Failed;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid())
        return Claim::Failed;
    return reply.value() == QDBusConnectionInterface::ServiceRegistered ? Claim::Taken
                                                                        : Claim::HeldElsewhere;
}

QDBusError PanelService::raiseHolder(const QDBusConnection& bus, const QString& name) {
    const QDBusMessage reply = bus.call(
        QDBusMessage::createMethodCall(name, ObjectPath, Interface, "Raise"), QDBus::Block, 5000);
    return reply.type() == QDBusMessage::ReplyMessage ? QDBusError() : QDBusError(reply);
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
    if (!connection.registerService(serviceName_)) {
        connection.unregisterObject(ObjectPath);
        const QDBusReply<uint> pid = connection.interface()->servicePid(serviceName_);
        *whyNot = pid.isValid()
                      ? QString("%1 is taken on the session bus by process %2 (another panel?)")
                            .arg(serviceName_)
                            .arg(pid.value())
                      : QString("cannot take the name %1 on the session bus: %2")
                            .arg(serviceName_, connection.lastError().message());
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
    bus_.unregisterService(serviceName_);
    bus_.unregisterService(QString::fromStdString(boardLockName(board_.toStdString())));
    bus_.unregisterObject(ObjectPath);
}

std::unique_ptr<PanelService> PanelService::onSessionBus(ui::PanelControl& panel,
                                                         const QString& board, std::ostream& log) {
    auto service = std::make_unique<PanelService>(panel, board);
    QString whyNot;
    if (service->publish(QDBusConnection::sessionBus(), &whyNot))
        return service;
    log << QCoreApplication::applicationName().toStdString() << ": " << whyNot.toStdString()
        << "; kavo-ctl cannot reach this panel." << std::endl;
    return nullptr;
}

// ---- state -------------------------------------------------------------

short PanelService::portValue() const {
    return panel_.portValue();
}

QList<bool> PanelService::channelsOn() const {
    QList<bool> on;
    for (int n = 1; n <= core::ChannelCount; ++n)
        on << panel_.isOn(n);
    return on;
}

QStringList PanelService::armedTimes() const {
    QStringList times;
    for (int n = 1; n <= core::ChannelCount; ++n)
        times << panel_.armedTime(n);
    return times;
}

bool PanelService::portFailing() const {
    return panel_.portFailing();
}

QString PanelService::portError() const {
    return panel_.portError();
}

PanelService::State PanelService::current() const {
    return {portValue(), channelsOn(), armedTimes(), portFailing(), portError()};
}

void PanelService::announce(Aspect aspect) {
    const State now = current();
    QVariantMap changed;
    auto note = [&](const char* name, auto field) {
        if (announced_.*field == now.*field)
            return;
        announced_.*field = now.*field;
        changed.insert(name, QVariant::fromValue(now.*field));
    };
    switch (aspect) {
    case Aspect::Channels:
        note("PortValue", &State::portValue);
        note("ChannelsOn", &State::channelsOn);
        break;
    case Aspect::Rows:
        note("ArmedTimes", &State::armedTimes);
        break;
    case Aspect::Port:
        note("PortFailing", &State::portFailing);
        note("PortError", &State::portError);
        break;
    case Aspect::Open: // no property of its own
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
    if (panel_.isOpen())
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

std::optional<core::PortStatus> PanelService::switchOn(int channel) {
    if (!accepts(channel))
        return std::nullopt;
    if (panel_.isOn(channel)) {
        refuse(error::AlreadyOn, QString("Channel %1 is already on.").arg(channel));
        return std::nullopt;
    }
    return panel_.switchOn(channel);
}

std::optional<core::PortStatus> PanelService::switchOff(int channel) {
    if (!accepts(channel))
        return std::nullopt;
    if (!panel_.isOn(channel)) {
        refuse(error::AlreadyOff, QString("Channel %1 is already off.").arg(channel));
        return std::nullopt;
    }
    return panel_.switchOff(channel);
}

std::optional<core::PortStatus> PanelService::allOn() {
    return isOpen() ? std::optional(panel_.allOn()) : std::nullopt;
}

std::optional<core::PortStatus> PanelService::allOff() {
    return isOpen() ? std::optional(panel_.allOff()) : std::nullopt;
}

void PanelService::SwitchOn(int channel) {
    switchOn(channel);
}
void PanelService::SwitchOff(int channel) {
    switchOff(channel);
}
void PanelService::AllOn() {
    allOn();
}
void PanelService::AllOff() {
    allOff();
}

namespace {
// A KavoPanel2 answer; a refused command's is never sent, its error is.
bool answer(const std::optional<core::PortStatus>& status, QString& device, QString& error,
            QString& fix) {
    if (!status)
        return false;
    device = QString::fromStdString(status->device);
    error = QString::fromStdString(status->error);
    fix = QString::fromStdString(status->fix);
    return status->ok;
}
} // namespace

bool PanelService::SwitchOn(int channel, QString& device, QString& error, QString& fix) {
    return answer(switchOn(channel), device, error, fix);
}
bool PanelService::SwitchOff(int channel, QString& device, QString& error, QString& fix) {
    return answer(switchOff(channel), device, error, fix);
}
bool PanelService::AllOn(QString& device, QString& error, QString& fix) {
    return answer(allOn(), device, error, fix);
}
bool PanelService::AllOff(QString& device, QString& error, QString& fix) {
    return answer(allOff(), device, error, fix);
}

void PanelService::Arm(int channel, const QString& time) {
    if (!accepts(channel))
        return;
    if (panel_.isArmed(channel))
        return refuse(error::AlreadyArmed,
                      QString("Channel %1 is already armed for %2; cancel it first.")
                          .arg(channel)
                          .arg(panel_.armedTime(channel)));
    // The row's own handler decides, and refuses a text that is not a clock
    // time with its beep.
    if (panel_.arm(channel, time))
        return;
    refuse(error::NotATime, QString("%1 is not a time of day as HH:MM:SS (24-hour, two digits "
                                    "each: 6 pm is 18:00:00).")
                                .arg(quoted(time)));
}

void PanelService::Disarm(int channel) {
    if (!accepts(channel))
        return;
    if (!panel_.isArmed(channel))
        return refuse(error::NotArmed, QString("Channel %1 is not armed.").arg(channel));
    panel_.disarm(channel);
}

void PanelService::Raise() {
    if (isOpen())
        panel_.bringToFront();
}

} // namespace remote
