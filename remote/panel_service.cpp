#include "panel_service.h"
#include "bus_names.h"
#include "panel2_adaptor.h"
#include "panel_adaptor.h"

#include "core/channels.h"
#include "panel/refusal_text.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>

#include <ostream>

namespace remote {
namespace {

const char* errorName(panel::Refusal why) {
    using panel::Refusal;
    switch (why) {
    case Refusal::Closed:
        return error::Closed;
    case Refusal::NoSuchChannel:
        return error::NoSuchChannel;
    case Refusal::AlreadyOn:
        return error::AlreadyOn;
    case Refusal::AlreadyOff:
        return error::AlreadyOff;
    case Refusal::AlreadyArmed:
        return error::AlreadyArmed;
    case Refusal::NotATime:
        return error::NotATime;
    case Refusal::NotArmed:
        return error::NotArmed;
    case Refusal::NotAPulse:
        return error::NotAPulse;
    }
    return error::Closed;
}

} // namespace

PanelService::PanelService(panel::PanelModel& panel, std::function<void()> raise,
                           const QString& board, QObject* parent)
    : QObject(parent), panel_(panel), raise_(std::move(raise)), board_(board),
      serviceName_(QString::fromStdString(remote::serviceName(board.toStdString()))) {
    new PanelAdaptor(this);
    new Panel2Adaptor(this);
    announced_ = current();
    connect(&panel_, &panel::PanelModel::channelsChanged, this,
            [this] { announce(Aspect::Channels); });
    connect(&panel_, &panel::PanelModel::rowChanged, this, [this] { announce(Aspect::Rows); });
    connect(&panel_, &panel::PanelModel::portChanged, this, [this] { announce(Aspect::Port); });
    // A panel closed by the window manager switches nothing more, so it stops
    // offering to.
    connect(&panel_, &panel::PanelModel::writeAnswered, this, &PanelService::writeAnswered);
    connect(&panel_, &panel::PanelModel::openChanged, this, [this] {
        if (!panel_.isOpen())
            withdraw();
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

std::unique_ptr<PanelService> PanelService::onSessionBus(panel::PanelModel& panel,
                                                         std::function<void()> raise,
                                                         const QString& board, std::ostream& log) {
    auto service = std::make_unique<PanelService>(panel, std::move(raise), board);
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
        times << QString::fromStdString(panel_.armedTime(n));
    return times;
}

bool PanelService::portFailing() const {
    return panel_.portFailing();
}

QString PanelService::portError() const {
    return panel_.portFailing() ? QString::fromStdString(panel_.portStatus().describe())
                                : QString();
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
    }
    if (changed.isEmpty() || !published_)
        return;
    QDBusMessage signal =
        QDBusMessage::createSignal(ObjectPath, PropertiesInterface, "PropertiesChanged");
    signal << QString(Interface) << changed << QStringList();
    bus_.send(signal);
}

// ---- methods -----------------------------------------------------------

bool PanelService::answered(const panel::Answer& answer, int channel, const QString& time) {
    if (answer.accepted())
        return true;
    if (!calledFromDBus())
        return false;
    sendErrorReply(errorName(*answer.refused),
                   panel::refusalText(panel_, *answer.refused, channel, time));
    return false;
}

void PanelService::replyOnceWritten(const panel::Answer& answer, bool withStatus) {
    if (answer.write == 0 || !calledFromDBus())
        return;
    setDelayedReply(true);
    waiting_.append({answer.write, message(), connection(), withStatus});
}

void PanelService::writeAnswered(std::uint64_t upTo, const core::PortStatus& status) {
    for (qsizetype i = 0; i < waiting_.size();) {
        Waiting& w = waiting_[i];
        if (w.write > upTo) {
            ++i;
            continue;
        }
        w.bus.send(w.withStatus ? w.call.createReply(
                                      QVariantList{status.ok, QString::fromStdString(status.device),
                                                   QString::fromStdString(status.error),
                                                   QString::fromStdString(status.fix)})
                                : w.call.createReply());
        waiting_.removeAt(i);
    }
}

// A KavoPanel2 answer; a refused request's is never sent, its error is, and
// one whose write is still on its way is sent once the board answers.
bool PanelService::answer(const panel::Answer& answer, int channel, QString& device, QString& error,
                          QString& fix) {
    if (!answered(answer, channel))
        return false;
    replyOnceWritten(answer, true);
    device = QString::fromStdString(answer.written.device);
    error = QString::fromStdString(answer.written.error);
    fix = QString::fromStdString(answer.written.fix);
    return answer.written.ok;
}

// KavoPanel1's switches answer nothing, but not before their write did:
// a script reads the board after the call as it always could.
void PanelService::SwitchOn(int channel) {
    const panel::Answer a = panel_.requestSwitchOn(channel);
    if (answered(a, channel))
        replyOnceWritten(a, false);
}
void PanelService::SwitchOff(int channel) {
    const panel::Answer a = panel_.requestSwitchOff(channel);
    if (answered(a, channel))
        replyOnceWritten(a, false);
}
void PanelService::AllOn() {
    const panel::Answer a = panel_.requestAllOn();
    if (answered(a))
        replyOnceWritten(a, false);
}
void PanelService::AllOff() {
    const panel::Answer a = panel_.requestAllOff();
    if (answered(a))
        replyOnceWritten(a, false);
}

bool PanelService::SwitchOn(int channel, QString& device, QString& error, QString& fix) {
    return answer(panel_.requestSwitchOn(channel), channel, device, error, fix);
}
bool PanelService::SwitchOff(int channel, QString& device, QString& error, QString& fix) {
    return answer(panel_.requestSwitchOff(channel), channel, device, error, fix);
}
bool PanelService::AllOn(QString& device, QString& error, QString& fix) {
    return answer(panel_.requestAllOn(), 0, device, error, fix);
}
bool PanelService::AllOff(QString& device, QString& error, QString& fix) {
    return answer(panel_.requestAllOff(), 0, device, error, fix);
}
bool PanelService::Pulse(int channel, uint milliseconds, QString& device, QString& error,
                         QString& fix) {
    return answer(panel_.requestPulse(channel, std::chrono::milliseconds(milliseconds)), channel,
                  device, error, fix);
}

void PanelService::Arm(int channel, const QString& time) {
    answered(panel_.requestArm(channel, time.toStdString()), channel, time);
}

void PanelService::Disarm(int channel) {
    answered(panel_.requestDisarm(channel), channel);
}

void PanelService::Raise() {
    if (!panel_.isOpen())
        answered(panel::Answer::refusal(panel::Refusal::Closed));
    else if (raise_)
        raise_();
}

} // namespace remote
