#include "mosquitto_client.h"

#include <QElapsedTimer>
#include <QSocketNotifier>

#include <mosquitto.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <poll.h>

namespace platform::mqtt {
namespace {

constexpr int HousekeepingMs = 1000;
constexpr int PacketsPerWakeUp = 16;

QString describe(int rc) {
    if (rc == MOSQ_ERR_ERRNO)
        return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}

} // namespace

MosquittoClient::MosquittoClient(QObject* parent) : Client(parent) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { mosquitto_lib_init(); });
    misc_.setInterval(HousekeepingMs);
    connect(&misc_, &QTimer::timeout, this, &MosquittoClient::housekeeping);
}

MosquittoClient::~MosquittoClient() {
    misc_.stop();
    reader_.reset();
    writer_.reset();
    if (mosq_)
        mosquitto_destroy(mosq_);
}

bool MosquittoClient::connectTo(const Endpoint& endpoint, QString* whyNot) {
    dropSocket();
    if (mosq_)
        mosquitto_destroy(mosq_);
    connected_ = false;
    attempting_ = false;
    refusal_.clear();
    const QByteArray id = endpoint.clientId.toUtf8();
    mosq_ = mosquitto_new(id.isEmpty() ? nullptr : id.constData(), true, this);
    if (!mosq_) {
        *whyNot = describe(MOSQ_ERR_ERRNO);
        return false;
    }
    // A command is one small packet: sent at once, not held back for more.
    mosquitto_int_option(mosq_, MOSQ_OPT_TCP_NODELAY, 1);
    mosquitto_connect_callback_set(mosq_, &MosquittoClient::onConnect);
    mosquitto_disconnect_callback_set(mosq_, &MosquittoClient::onDisconnect);
    mosquitto_message_callback_set(mosq_, &MosquittoClient::onMessage);
    mosquitto_publish_callback_set(mosq_, &MosquittoClient::onPublish);
    unacknowledged_ = 0;

    auto failed = [&](int rc) {
        *whyNot = describe(rc);
        return false;
    };
    if (!endpoint.will.topic.isEmpty()) {
        const QByteArray topic = endpoint.will.topic.toUtf8();
        if (const int rc = mosquitto_will_set(
                mosq_, topic.constData(), static_cast<int>(endpoint.will.payload.size()),
                endpoint.will.payload.constData(), 1, endpoint.will.retain))
            return failed(rc);
    }
    if (!endpoint.user.isEmpty()) {
        const QByteArray user = endpoint.user.toUtf8();
        const QByteArray password = endpoint.password.toUtf8();
        if (const int rc = mosquitto_username_pw_set(
                mosq_, user.constData(), password.isEmpty() ? nullptr : password.constData()))
            return failed(rc);
    }
    if (endpoint.tls) {
        // Without a file of its own, the system's authorities, as a browser would.
        const QByteArray caFile = endpoint.caFile.toLocal8Bit();
        const QByteArray certFile = endpoint.certFile.toLocal8Bit();
        const QByteArray keyFile = endpoint.keyFile.toLocal8Bit();
        const auto orNull = [](const QByteArray& path) {
            return path.isEmpty() ? nullptr : path.constData();
        };
        const int rc =
            mosquitto_tls_set(mosq_, orNull(caFile), caFile.isEmpty() ? "/etc/ssl/certs" : nullptr,
                              orNull(certFile), orNull(keyFile), nullptr);
        if (rc)
            return failed(rc);
    }
    const QByteArray host = endpoint.host.toUtf8();
    if (const int rc = mosquitto_connect_async(mosq_, host.constData(), endpoint.port,
                                               endpoint.keepAliveSeconds))
        return failed(rc);
    attempting_ = true;
    watchSocket();
    return true;
}

void MosquittoClient::watchSocket() {
    socket_ = mosquitto_socket(mosq_);
    if (socket_ < 0)
        return;
    reader_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Read);
    connect(reader_.get(), &QSocketNotifier::activated, this, &MosquittoClient::readable);
    writer_ = std::make_unique<QSocketNotifier>(socket_, QSocketNotifier::Write);
    connect(writer_.get(), &QSocketNotifier::activated, this, &MosquittoClient::writable);
    updateWriteInterest();
    misc_.start();
}

// The library closes its socket itself when the connection fails; the
// notifiers must let go of it before the loop polls it again. They may be
// dropped from their own signal, so they go later.
void MosquittoClient::dropSocket() {
    misc_.stop();
    for (std::unique_ptr<QSocketNotifier>* n : {&reader_, &writer_}) {
        if (!*n)
            continue;
        (*n)->setEnabled(false);
        (*n).release()->deleteLater();
    }
    socket_ = -1;
}

void MosquittoClient::updateWriteInterest() {
    if (writer_)
        writer_->setEnabled(mosq_ && mosquitto_want_write(mosq_));
}

void MosquittoClient::readable() {
    if (!mosq_)
        return;
    const int rc = mosquitto_loop_read(mosq_, PacketsPerWakeUp);
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(mosq_) < 0)
        return lost(refusal_.isEmpty() ? describe(rc) : refusal_);
    updateWriteInterest();
}

void MosquittoClient::writable() {
    if (!mosq_)
        return;
    const int rc = mosquitto_loop_write(mosq_, PacketsPerWakeUp);
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(mosq_) < 0)
        return lost(describe(rc));
    updateWriteInterest();
}

void MosquittoClient::housekeeping() {
    if (!mosq_)
        return;
    const int rc = mosquitto_loop_misc(mosq_);
    if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(mosq_) < 0)
        return lost(describe(rc == MOSQ_ERR_SUCCESS ? MOSQ_ERR_KEEPALIVE : rc));
    updateWriteInterest();
}

void MosquittoClient::lost(const QString& reason) {
    if (!attempting_ && !connected_)
        return;
    attempting_ = false;
    connected_ = false;
    dropSocket();
    emit disconnected(reason);
}

void MosquittoClient::disconnectCleanly() {
    if (!mosq_ || (!attempting_ && !connected_))
        return;
    flush(1000);
    mosquitto_disconnect(mosq_); // writes DISCONNECT now and closes the socket
    lost(QStringLiteral("disconnected"));
}

bool MosquittoClient::publish(const QString& topic, const QByteArray& payload, bool retain) {
    if (!connected_)
        return false;
    const QByteArray name = topic.toUtf8();
    const int rc =
        mosquitto_publish(mosq_, nullptr, name.constData(), static_cast<int>(payload.size()),
                          payload.constData(), 1, retain);
    updateWriteInterest();
    if (rc == MOSQ_ERR_SUCCESS)
        ++unacknowledged_;
    return rc == MOSQ_ERR_SUCCESS;
}

bool MosquittoClient::subscribe(const QString& pattern) {
    if (!connected_)
        return false;
    const QByteArray name = pattern.toUtf8();
    const int rc = mosquitto_subscribe(mosq_, nullptr, name.constData(), 1);
    updateWriteInterest();
    return rc == MOSQ_ERR_SUCCESS;
}

void MosquittoClient::flush(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (mosq_ && mosquitto_socket(mosq_) >= 0 &&
           (mosquitto_want_write(mosq_) || unacknowledged_ > 0)) {
        const auto left = ms - clock.elapsed();
        if (left <= 0)
            return;
        pollfd fd{mosquitto_socket(mosq_),
                  static_cast<short>(POLLIN | (mosquitto_want_write(mosq_) ? POLLOUT : 0)), 0};
        if (::poll(&fd, 1, static_cast<int>(left)) <= 0)
            return;
        if ((fd.revents & POLLOUT) &&
            mosquitto_loop_write(mosq_, PacketsPerWakeUp) != MOSQ_ERR_SUCCESS)
            return;
        if ((fd.revents & (POLLIN | POLLHUP | POLLERR)) &&
            mosquitto_loop_read(mosq_, PacketsPerWakeUp) != MOSQ_ERR_SUCCESS)
            return;
    }
}

void MosquittoClient::onConnect(mosquitto*, void* self, int rc) {
    auto* client = static_cast<MosquittoClient*>(self);
    if (rc != 0) {
        // The broker closes the connection next; this is the reason to give.
        client->refusal_ = QString::fromUtf8(mosquitto_connack_string(rc));
        return;
    }
    client->attempting_ = false;
    client->connected_ = true;
    emit client->connected();
}

void MosquittoClient::onPublish(mosquitto*, void* self, int) {
    --static_cast<MosquittoClient*>(self)->unacknowledged_;
}

void MosquittoClient::onDisconnect(mosquitto*, void* self, int rc) {
    auto* client = static_cast<MosquittoClient*>(self);
    client->lost(client->refusal_.isEmpty() ? describe(rc == 0 ? MOSQ_ERR_CONN_LOST : rc)
                                            : client->refusal_);
}

void MosquittoClient::onMessage(mosquitto*, void* self, const mosquitto_message* m) {
    auto* client = static_cast<MosquittoClient*>(self);
    const QByteArray payload(static_cast<const char*>(m->payload), m->payloadlen);
    emit client->message(QString::fromUtf8(m->topic), payload, m->retain);
}

} // namespace platform::mqtt
