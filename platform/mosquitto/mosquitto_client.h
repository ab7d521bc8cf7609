#pragma once
// platform::mqtt::Client on libmosquitto, with no thread of its own: the
// socket is watched by Qt's event loop and a timer runs the library's
// housekeeping (keep-alive pings, retries).

#include "platform/mosquitto/mqtt_client.h"

#include <QTimer>

#include <memory>

class QSocketNotifier;
struct mosquitto;
struct mosquitto_message;

namespace platform::mqtt {

class MosquittoClient : public Client {
    Q_OBJECT

  public:
    explicit MosquittoClient(QObject* parent = nullptr);
    ~MosquittoClient() override;

    bool connectTo(const Endpoint& endpoint, QString* whyNot) override;
    void disconnectCleanly() override;
    bool isConnected() const override { return connected_; }
    bool publish(const QString& topic, const QByteArray& payload, bool retain) override;
    bool subscribe(const QString& pattern) override;

    // Writes what is still queued and waits for the broker to acknowledge
    // every message, for up to `ms` milliseconds; for the last messages
    // before the program ends. (A socket closed with acknowledgements unread
    // is reset, and the broker may drop what it had not yet read.)
    void flush(int ms);

  private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onDisconnect(mosquitto*, void* self, int rc);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* message);
    static void onPublish(mosquitto*, void* self, int mid);

    void watchSocket();
    void dropSocket();
    void readable();
    void writable();
    void housekeeping();
    void updateWriteInterest();
    void lost(const QString& reason);

    mosquitto* mosq_ = nullptr;
    int socket_ = -1;
    std::unique_ptr<QSocketNotifier> reader_;
    std::unique_ptr<QSocketNotifier> writer_;
    QTimer misc_;
    bool connected_ = false;
    bool attempting_ = false;
    int unacknowledged_ = 0; // messages published and not yet acknowledged
    QString refusal_;        // why the broker turned the connection down
};

} // namespace platform::mqtt
