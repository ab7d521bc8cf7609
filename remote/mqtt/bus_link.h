#pragma once
// The panel of this desktop session, followed over the session bus: its state
// read once it appears and kept by its property announcements, its commands
// called as kavo-ctl calls them.

#include "panel_link.h"

#include <QDBusConnection>
#include <QVariantMap>

class QDBusServiceWatcher;
class ComQuorvaleKavoPanel1Interface;
class ComQuorvaleKavoPanel2Interface;

namespace remote::mqtt {

class BusLink : public PanelLink {
    Q_OBJECT
  public:
    // `board` as the panel's --board value: it picks the panel's bus name.
    BusLink(const QDBusConnection& bus, const QString& board, QObject* parent = nullptr);
    ~BusLink() override;

    void start() override;
    const std::optional<PanelState>& state() const override { return state_; }
    void request(Command command, int channel, const QString& time, std::chrono::milliseconds pulse,
                 Answered answered) override;

  private slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList& invalidated);

  private:
    void panelAppeared();
    void panelVanished();
    void apply(const QVariantMap& values);

    QDBusConnection bus_;
    QString service_;
    QDBusServiceWatcher* watcher_ = nullptr;
    ComQuorvaleKavoPanel1Interface* panel_ = nullptr;
    ComQuorvaleKavoPanel2Interface* panel2_ = nullptr; // for what only it offers: Pulse
    std::optional<PanelState> state_;                  // while a panel is running and has been read
};

} // namespace remote::mqtt
