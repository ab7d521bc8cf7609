#pragma once
// The running panel on an MQTT broker. The bridge keeps no board of its own:
// it mirrors the panel's state (learnt over the session bus) into retained
// topics, runs the commands that arrive through the panel's own handlers,
// and announces the panel's entities to Home Assistant.
//
//   kavo/<node>/availability           online | offline (retained; the will)
//   kavo/<node>/channel/<n>/state      ON | OFF (retained)
//   kavo/<node>/channel/<n>/set        ON | OFF: the channel's ON or OFF button
//   kavo/<node>/all/set                ON | OFF: Emergency Mode, ALL ON / ALL OFF
//   kavo/<node>/channel/<n>/arm        HH:MM:SS arms the timer row; "" disarms it
//   kavo/<node>/channel/<n>/armed      the armed time (retained), none while idle
//   kavo/<node>/board/problem          ON | OFF: the board cannot be written (retained)
//   kavo/<node>/board/reason           why, and what fixes it (retained), none while fine

#include "platform/mosquitto/mqtt_client.h"
#include "remote/mqtt/mqtt_settings.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <optional>

class QDBusPendingCall;
class QDBusServiceWatcher;
class ComQuorvaleKavoPanel1Interface;

namespace remote::mqtt {

inline constexpr qsizetype MaxPayload = 64;
inline constexpr int FirstRetryMs = 1000;
inline constexpr int LastRetryMs = 30000;

class Bridge : public QObject {
    Q_OBJECT

  public:
    Bridge(Settings settings, platform::mqtt::Client& client, const QDBusConnection& bus,
           QObject* parent = nullptr);
    ~Bridge() override;

    // Connects to the broker and starts watching for the panel.
    void start();
    // Says offline and disconnects, so the broker keeps the will to itself.
    void stop();

    QString topic(const QString& tail) const;
    // The name of the panel this bridge follows on the session bus.
    QString service() const { return service_; }

  private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated);

  private:
    struct PanelState {
        QList<bool> on;
        QStringList armed;
        bool failing = false;
        QString reason;
    };

    void connectToBroker();
    void connected();
    void disconnected(const QString& reason);
    void message(const QString& topic, const QByteArray& payload, bool retained);
    void command(const QString& topic, const QByteArray& payload);

    void panelAppeared();
    void panelVanished();
    void apply(const QVariantMap& values);

    void publishDiscovery();
    void publishAvailability();
    void publishAll();
    void publishChannel(int n);
    void publishArmed(int n);
    void publishBoard();
    void publish(const QString& topic, const QByteArray& payload);

    // The panel's answer to a command; a refusal is said and the state the
    // command was about is published again.
    void whenAnswered(const QDBusPendingCall& call, const QString& topic, int channel, bool row);
    // One line on stderr, at most one per `key` a minute.
    void say(const QString& key, const QString& line);

    Settings settings_;
    QString service_;
    platform::mqtt::Client& client_;
    QDBusConnection bus_;
    QDBusServiceWatcher* watcher_ = nullptr;
    ComQuorvaleKavoPanel1Interface* panel_ = nullptr;
    std::optional<PanelState> state_; // while a panel is running and has been read
    QTimer retry_;
    int retryMs_ = FirstRetryMs;
    bool stopping_ = false;
    bool everConnected_ = false;
    QHash<QString, QElapsedTimer> said_;
};

} // namespace remote::mqtt
