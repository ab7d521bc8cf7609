#include "bus_link.h"
#include "panel2_proxy.h"
#include "panel_proxy.h"

#include "remote/bus_names.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

#include <cstdio>

namespace remote::mqtt {
namespace {
constexpr int ReplyTimeoutMs = 10000;
} // namespace

BusLink::BusLink(const QDBusConnection& bus, const QString& board, QObject* parent)
    : PanelLink(parent), bus_(bus),
      service_(QString::fromStdString(serviceName(board.toStdString()))) {
    panel_ = new ComQuorvaleKavoPanel1Interface(service_, ObjectPath, bus_, this);
    panel_->setTimeout(ReplyTimeoutMs);
    panel2_ = new ComQuorvaleKavoPanel2Interface(service_, ObjectPath, bus_, this);
    panel2_->setTimeout(ReplyTimeoutMs);
}

BusLink::~BusLink() = default;

void BusLink::start() {
    watcher_ = new QDBusServiceWatcher(service_, bus_,
                                       QDBusServiceWatcher::WatchForRegistration |
                                           QDBusServiceWatcher::WatchForUnregistration,
                                       this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, &BusLink::panelAppeared);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &BusLink::panelVanished);
    // Follows the name to whichever panel holds it.
    bus_.connect(service_, ObjectPath, PropertiesInterface, "PropertiesChanged", this,
                 SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
    if (bus_.interface()->isServiceRegistered(service_))
        panelAppeared();
}

void BusLink::request(Command command, int channel, const QString& time,
                      std::chrono::milliseconds pulse, Answered answered) {
    const QDBusPendingCall call = [&]() -> QDBusPendingCall {
        switch (command) {
        case Command::SwitchOn:
            return panel_->SwitchOn(channel);
        case Command::SwitchOff:
            return panel_->SwitchOff(channel);
        case Command::AllOn:
            return panel_->AllOn();
        case Command::AllOff:
            return panel_->AllOff();
        case Command::Arm:
            return panel_->Arm(channel, time);
        case Command::Pulse:
            return panel2_->Pulse(channel, static_cast<uint>(pulse.count()));
        case Command::Disarm:
            break;
        }
        return panel_->Disarm(channel);
    }();
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [answered = std::move(answered)](QDBusPendingCallWatcher* w) {
                w->deleteLater();
                answered(w->isError() ? w->error().message() : QString());
            });
}

void BusLink::panelAppeared() {
    QDBusMessage call =
        QDBusMessage::createMethodCall(service_, ObjectPath, PropertiesInterface, "GetAll");
    call << QString(Interface);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call, ReplyTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        w->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *w;
        if (reply.isError()) {
            std::fprintf(stderr, "kavo-mqtt: cannot read the panel's state: %s\n",
                         qPrintable(reply.error().message()));
            return;
        }
        state_ = PanelState{};
        apply(reply.value());
        emit appeared();
    });
}

void BusLink::panelVanished() {
    state_.reset();
    emit vanished();
}

void BusLink::propertiesChanged(const QString& interface, const QVariantMap& changed,
                                const QStringList&) {
    if (interface != Interface || !state_)
        return;
    const PanelState before = *state_;
    apply(changed);
    emit this->changed(before);
}

void BusLink::apply(const QVariantMap& values) {
    if (values.contains("ChannelsOn"))
        state_->on = qdbus_cast<QList<bool>>(values.value("ChannelsOn"));
    if (values.contains("ArmedTimes"))
        state_->armed = qdbus_cast<QStringList>(values.value("ArmedTimes"));
    if (values.contains("PortFailing"))
        state_->failing = values.value("PortFailing").toBool();
    if (values.contains("PortError"))
        state_->reason = values.value("PortError").toString();
}

} // namespace remote::mqtt
