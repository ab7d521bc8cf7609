#include "session_bus.h"

#include "remote/panel_service.h"

std::unique_ptr<QObject> offerOnSessionBus(ui::Form1& form, std::ostream& log) {
    return remote::PanelService::onSessionBus(form, log);
}
