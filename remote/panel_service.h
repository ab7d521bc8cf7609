#pragma once
// The running panel on the user's session bus, as com.quorvale.KavoPanel.xml
// describes it. Each method is a request to panel::PanelModel, on the
// model's thread between other events, like a click: with its beep and its
// port write. A request the model refuses (there is no ON face to press on a
// channel that is on) is answered with an error and changes nothing. The
// state is read from the model, and every change of it is announced with
// PropertiesChanged.
//
// Each board has names of its own on the bus: the panel takes the board's
// lock name (remote::boardLockName) before it opens the board or builds a
// window, so two panels started together cannot both drive one board; the
// object and the service name (remote::serviceName) follow once the window
// is there, so whoever sees the service name finds the object.
//
// The object offers two interfaces: com.quorvale.KavoPanel1, whose switching
// commands answer nothing, and com.quorvale.KavoPanel2, whose commands answer
// with their own write (com.quorvale.KavoPanel2.xml).

#include "panel/panel_model.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <iosfwd>
#include <memory>

namespace remote {

class PanelService : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(short PortValue READ portValue)
    Q_PROPERTY(QList<bool> ChannelsOn READ channelsOn)
    Q_PROPERTY(QStringList ArmedTimes READ armedTimes)
    Q_PROPERTY(bool PortFailing READ portFailing)
    Q_PROPERTY(QString PortError READ portError)
    Q_PROPERTY(QString Board READ board)

  public:
    // `board` is the --board value of the board the panel drives; `raise`
    // brings its window to the front, where it has one.
    explicit PanelService(panel::PanelModel& panel, std::function<void()> raise = {},
                          const QString& board = "parallel", QObject* parent = nullptr);
    ~PanelService() override;

    enum class Claim {
        Taken,         // the name is this connection's
        HeldElsewhere, // another program holds it
        Failed,        // no bus, or the bus said no otherwise
    };
    // Asks for `name` without queueing for it.
    static Claim claimName(const QDBusConnection& bus, const QString& name);
    // Asks whoever holds `name` (a lock or service name) to bring its window
    // to the front.
    static QDBusError raiseHolder(const QDBusConnection& bus, const QString& name);

    // Exports the object on `bus`, then takes the board's service name.
    // False, with the reason, when there is no bus or another program holds
    // the name.
    bool publish(const QDBusConnection& bus, QString* whyNot);
    // Gives the names (the lock too) and the object up; nothing more is
    // announced, and another panel may take the board.
    void withdraw();
    bool isPublished() const { return published_; }
    QString serviceName() const { return serviceName_; }

    // The service on the session bus; or none, and one line on `log` saying why.
    static std::unique_ptr<PanelService> onSessionBus(panel::PanelModel& panel,
                                                      std::function<void()> raise,
                                                      const QString& board, std::ostream& log);

    short portValue() const;
    QList<bool> channelsOn() const;
    QStringList armedTimes() const;
    bool portFailing() const;
    QString portError() const;
    QString board() const { return board_; }

  public slots:
    void SwitchOn(int channel);
    void SwitchOff(int channel);
    void AllOn();
    void AllOff();
    void Arm(int channel, const QString& time);
    void Disarm(int channel);
    void Raise();

  public:
    // com.quorvale.KavoPanel2: the same commands, answering with what the
    // board made of their own write (true when it took it).
    bool SwitchOn(int channel, QString& device, QString& error, QString& fix);
    bool SwitchOff(int channel, QString& device, QString& error, QString& fix);
    bool AllOn(QString& device, QString& error, QString& fix);
    bool AllOff(QString& device, QString& error, QString& fix);
    bool Pulse(int channel, uint milliseconds, QString& device, QString& error, QString& fix);

  private:
    struct State {
        short portValue = 0;
        QList<bool> channelsOn;
        QStringList armedTimes;
        bool portFailing = false;
        QString portError;
    };
    enum class Aspect { Channels, Rows, Port };
    State current() const;
    // Sends a refused request's error; true when the request was carried out.
    bool answered(const panel::Answer& answer, int channel = 0, const QString& time = {});
    bool answer(const panel::Answer& answer, int channel, QString& device, QString& error,
                QString& fix);
    void announce(Aspect aspect);
    // Holds the reply to the call being served until its write is answered.
    void replyOnceWritten(const panel::Answer& answer, bool withStatus);
    void writeAnswered(std::uint64_t upTo, const core::PortStatus& status);
    struct Waiting {
        std::uint64_t write;
        QDBusMessage call;
        QDBusConnection bus;
        bool withStatus; // KavoPanel2's answer, or KavoPanel1's empty one
    };
    QList<Waiting> waiting_;

    panel::PanelModel& panel_;
    std::function<void()> raise_;
    QString board_;
    QString serviceName_;
    QDBusConnection bus_{QString()};
    bool published_ = false;
    State announced_;
};

} // namespace remote
