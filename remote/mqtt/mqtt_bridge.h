#pragma once
// A panel on an MQTT broker. The bridge mirrors the panel's state into
// retained topics, runs the commands that arrive through the panel's own
// rules, and announces the panel's entities to Home Assistant. The panel is
// the desktop's, over the session bus, or the model of a standalone bridge
// that drives the board itself (remote/mqtt/panel_link.h).
//
//   kavo/<node>/availability           online | offline (retained; the will)
//   kavo/<node>/channel/<n>/state      ON | OFF (retained)
//   kavo/<node>/channel/<n>/set        ON | OFF: the channel's ON or OFF button
//   kavo/<node>/all/set                ON | OFF: Emergency Mode, ALL ON / ALL OFF
//   kavo/<node>/channel/<n>/arm        HH:MM:SS arms the timer row; "" disarms it
//   kavo/<node>/channel/<n>/armed      the armed time (retained), none while idle
//   kavo/<node>/channel/<n>/row        {"armed": "HH:MM:SS" or ""} (retained)
//   kavo/<node>/channel/<n>/pulse      a length (500ms, 2s), or "" / PRESS for the
//                                      configured one: ON, then after it OFF
//   kavo/<node>/owner                  {"device": stable id, "instance": this run} (retained)
//   kavo/<node>/board/problem          ON | OFF: the board cannot be written (retained)
//   kavo/<node>/board/reason           why, and what fixes it (retained), none while fine

#include "platform/mosquitto/mqtt_client.h"
#include "remote/mqtt/mqtt_settings.h"
#include "remote/mqtt/panel_link.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QTimer>

namespace remote::mqtt {

inline constexpr qsizetype MaxPayload = 64;
inline constexpr int FirstRetryMs = 1000;
inline constexpr int LastRetryMs = 30000;

class Bridge : public QObject {
    Q_OBJECT

  public:
    Bridge(Settings settings, platform::mqtt::Client& client, PanelLink& panel,
           QObject* parent = nullptr);
    ~Bridge() override;

    // Connects to the broker and starts following the panel.
    void start();
    // Says offline and disconnects, so the broker keeps the will to itself.
    void stop();

    QString topic(const QString& tail) const;

  private:
    void connectToBroker();
    void connected();
    void disconnected(const QString& reason);
    void message(const QString& topic, const QByteArray& payload, bool retained);
    void command(const QString& topic, const QByteArray& payload);

    void panelChanged(const PanelState& before);

    void publishDiscovery();
    void publishAvailability();
    void publishAll();
    void publishChannel(int n);
    void publishArmed(int n);
    void publishBoard();
    void publish(const QString& topic, const QByteArray& payload);

    // Hands a command to the panel; a refusal is said and the state the
    // command was about is published again.
    void request(PanelLink::Command command, int channel, const QString& time,
                 std::chrono::milliseconds pulse, const QString& topic);
    // One line on stderr, at most one per `key` a minute.
    void say(const QString& key, const QString& line);

    const std::optional<PanelState>& state() const { return panel_.state(); }

    Settings settings_;
    platform::mqtt::Client& client_;
    PanelLink& panel_;
    QTimer retry_;
    int retryMs_ = FirstRetryMs;
    bool stopping_ = false;
    bool everConnected_ = false;
    QHash<QString, QElapsedTimer> said_;
    QSet<QString> announced_; // the config topics this version announces
    QString instance_;        // this run's, in the owner record
};

} // namespace remote::mqtt
