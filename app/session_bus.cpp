#include "session_bus.h"

#include "remote/panel_service.h"
#include "ui/form1.h"

std::unique_ptr<QObject> offerOnSessionBus(ui::Form1& form, std::ostream& log) {
    return remote::PanelService::onSessionBus(form.control(), log);
}
