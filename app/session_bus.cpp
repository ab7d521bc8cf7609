#include "session_bus.h"

#include "remote/bus_names.h"
#include "remote/panel_service.h"
#include "ui/form1.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QThread>

#include <ostream>

namespace {

// How long a panel that holds the board's lock may take to build its window and
// answer.
constexpr int StartingPanelMs = 5000;

bool stillStarting(const QDBusError& error) {
    // The lock is held, but the object is exported only once the window is built.
    return error.type() == QDBusError::UnknownObject || error.type() == QDBusError::UnknownMethod ||
           error.type() == QDBusError::UnknownInterface;
}

bool gone(const QDBusError& error) {
    return error.type() == QDBusError::ServiceUnknown ||
           error.name() == "org.freedesktop.DBus.Error.NameHasNoOwner";
}

} // namespace

bool claimBoardOnSessionBus(const std::string& board, std::ostream& log) {
    using remote::PanelService;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    const QString name = QString::fromStdString(remote::boardLockName(board));
    const QString program = QCoreApplication::applicationName();
    const QDeadlineTimer deadline(StartingPanelMs);
    for (;;) {
        // Without a bus, or refused the name otherwise, the panel runs on;
        // offerOnSessionBus says why kavo-ctl cannot reach it.
        if (PanelService::claimName(bus, name) != PanelService::Claim::HeldElsewhere)
            return true;
        const QDBusError error = PanelService::raiseHolder(bus, name);
        if (!error.isValid()) {
            log << program.toStdString()
                << ": a panel for this board is running already; brought it to the front"
                << std::endl;
            return false;
        }
        if (deadline.hasExpired() || !(gone(error) || stillStarting(error))) {
            log << program.toStdString() << ": a panel for this board is running already ("
                << name.toStdString() << " on the session bus); it did not come to the front: "
                << error.message().toStdString() << std::endl;
            return false;
        }
        // The other panel is still starting, or has just ended and left the
        // name to be taken.
        if (!gone(error))
            QThread::msleep(100);
    }
}

std::unique_ptr<QObject> offerOnSessionBus(ui::Form1& form, const std::string& board,
                                           std::ostream& log) {
    return remote::PanelService::onSessionBus(
        form.model(), [&form] { form.bringToFront(); }, QString::fromStdString(board), log);
}
