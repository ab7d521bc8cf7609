#pragma once
// What the bridge drives: a panel's state, its changes and its commands.
// Either the panel of the desktop session, over the session bus (BusLink),
// or the panel's model in this process, driving a board of its own
// (ModelLink, for a machine without a desktop).

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>

namespace remote::mqtt {

struct PanelState {
    QList<bool> on;    // one a channel
    QStringList armed; // the armed time, "" while the row is idle
    bool failing = false;
    QString reason; // why the board cannot be written, while failing
};

class PanelLink : public QObject {
    Q_OBJECT
  public:
    enum class Command { SwitchOn, SwitchOff, AllOn, AllOff, Arm, Disarm, Pulse };
    // Called once, with the refusal's reason, or empty when carried out.
    using Answered = std::function<void(const QString& refusal)>;

    using QObject::QObject;

    virtual void start() = 0;
    // None while no panel is there to drive.
    virtual const std::optional<PanelState>& state() const = 0;
    // `channel` 0 for AllOn and AllOff; `time` only for Arm; `pulse` only
    // for Pulse.
    virtual void request(Command command, int channel, const QString& time,
                         std::chrono::milliseconds pulse, Answered answered) = 0;

  signals:
    void appeared(); // state() can be read: everything is worth saying again
    void vanished();
    void changed(const PanelState& before);
};

} // namespace remote::mqtt
