#pragma once
// An MQTT client as the bridge sees it: one connection at a time, driven by
// the program's own event loop. The bridge's rules (what it publishes, what
// it acts on, when it tries again) depend only on this, not on the library.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace platform::mqtt {

struct Will {
    QString topic;
    QByteArray payload;
    bool retain = true;
};

struct Endpoint {
    QString host;
    int port = 1883;
    bool tls = false;
    QString caFile; // empty: the system's certificate authorities
    // A client certificate and its key, for a broker that asks for one; both
    // or neither.
    QString certFile;
    QString keyFile;
    QString user; // empty: no user name (and no password)
    QString password;
    QString clientId;
    int keepAliveSeconds = 30;
    Will will;
};

class Client : public QObject {
    Q_OBJECT

  public:
    using QObject::QObject;

    // Starts one attempt to connect; its outcome is connected() or
    // disconnected(). False, with the reason, when it could not even start.
    virtual bool connectTo(const Endpoint& endpoint, QString* whyNot) = 0;
    // Sends DISCONNECT after what is queued, so the broker drops the will.
    virtual void disconnectCleanly() = 0;
    virtual bool isConnected() const = 0;
    virtual bool publish(const QString& topic, const QByteArray& payload, bool retain) = 0;
    virtual bool subscribe(const QString& pattern) = 0;

  signals:
    void connected();
    // The connection is gone (or an attempt failed), with the reason.
    void disconnected(const QString& reason);
    // `retained`: the broker delivered it from its store of retained
    // messages, not as it was published.
    void message(const QString& topic, const QByteArray& payload, bool retained);
};

} // namespace platform::mqtt
