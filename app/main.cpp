// Starts the panel: the real port (through a monitor that reports its
// failures), the system's beep, clock, registry and program start, and the
// windows. The windows are built inside the event loop, so that an error
// while they are built reaches the one error report.
#include "help/help_windows.h"
#include "platform/default_beeper.h"
#include "platform/default_clock.h"
#include "platform/default_port.h"
#include "platform/default_program_starter.h"
#include "platform/default_registry.h"
#include "platform/port_monitor.h"
#include "remote/panel_service.h"
#include "ui/error_report.h"
#include "ui/form1.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    ui::Application app(argc, argv);
    app.setApplicationName("kavo-panel");

    std::unique_ptr<platform::PortOutput> backend = platform::makeDefaultPort();
    platform::PortMonitor port(*backend, std::cerr);
    const std::unique_ptr<platform::Beeper> beeper = platform::makeSystemBeeper();
    const std::unique_ptr<platform::Clock> clock = platform::makeSystemClock();
    const std::unique_ptr<platform::Registry> registry = platform::makeSystemRegistry();
    const std::unique_ptr<platform::ProgramStarter> starter = platform::makeProgramStarter();

    std::unique_ptr<ui::Form1> form;
    std::unique_ptr<remote::PanelService> scripting; // over the session bus, where there is one
    return app.run([&] {
        form = std::make_unique<ui::Form1>(ui::Form1::Services{
            .port = port,
            .beeper = *beeper,
            .clock = *clock,
            .endProgram = [] { QCoreApplication::exit(0); },
            .guide = [] { return help::createOperationGuide(); },
            .wiring = [] { return help::createWiringDiagram(); },
            .about = [&] { return help::createAbout(*registry, *starter); },
        });
        port.setListener([&](const platform::PortStatus& status) { form->showPortStatus(status); });
        form->showCentred();
        scripting = remote::PanelService::onSessionBus(*form, std::cerr);
    });
}
