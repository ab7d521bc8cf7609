// Starts the panel: the board the command line names (the parallel port by
// default) through a monitor that reports its failures, the system's beep,
// clock, registry and program start, and the windows. The command line is
// read first, so --help, --list-boards and mistakes need no display. The
// board's name on the session bus is taken before the board is opened: a
// panel for a board that another panel drives brings that one to the front
// and ends, having written nothing. The windows are built inside the event
// loop, so that an error while they are built reaches the one error report.
#include "app/command_line.h"
#include "app/session_bus.h"
#include "help/help_windows.h"
#include "panel/panel_model.h"
#include "platform/application_id.h"
#include "platform/default_beeper.h"
#include "platform/default_clock.h"
#include "platform/default_program_starter.h"
#include "platform/default_registry.h"
#include "platform/memory.h"
#include "platform/port_monitor.h"
#include "platform/relay/board_choice.h"
#include "ui/error_report.h"
#include "ui/form1.h"

#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    // Qt's own warnings too speak with the panel's one voice on stderr.
    qSetMessagePattern("kavo-panel: %{if-category}%{category}: %{endif}%{message}");
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const cli::Command command = cli::parseCommandLine(arguments);
    if (const auto* exit = std::get_if<cli::ExitNow>(&command)) {
        std::cout << exit->out << std::flush;
        std::cerr << exit->err << std::flush;
        return exit->status;
    }
    if (std::holds_alternative<cli::ListBoards>(command)) {
        std::cout << cli::listBoards(cli::findBoards()) << std::flush;
        return 0;
    }

    platform::returnLargeBlocksToSystem();
    ui::Application app(argc, argv);
    app.setApplicationName("kavo-panel");
    // The desktop entry's name: Wayland's app_id, and the taskbar's link to it.
    QGuiApplication::setDesktopFileName(platform::applicationId);

    const cli::ResolvedBoard resolved = cli::resolveBoard(std::get<cli::RunPanel>(command).board);
    const std::string board = platform::relay::boardArgument(resolved.board);
    if (!claimBoardOnSessionBus(board, std::cerr))
        return 0;

    const std::unique_ptr<core::PortOutput> backend = cli::openBoard(resolved);
    platform::PortMonitor port(*backend, std::cerr);
    const std::unique_ptr<core::Beeper> beeper = platform::makeSystemBeeper();
    const std::unique_ptr<core::Clock> clock = platform::makeSystemClock();
    const std::unique_ptr<platform::Registry> registry = platform::makeSystemRegistry();
    const std::unique_ptr<platform::ProgramStarter> starter = platform::makeProgramStarter();

    std::unique_ptr<panel::PanelModel> model;
    std::unique_ptr<ui::Form1> form;
    std::unique_ptr<QObject> scripting; // over the session bus, where there is one
    return app.run([&] {
        model = std::make_unique<panel::PanelModel>(
            panel::PanelModel::Services{.port = port, .beeper = *beeper, .clock = *clock});
        form = std::make_unique<ui::Form1>(ui::Form1::Services{
            .model = *model,
            .clock = *clock,
            .endProgram = [] { QCoreApplication::exit(0); },
            .guide = [] { return help::createOperationGuide(); },
            .wiring = [] { return help::createWiringDiagram(); },
            .about = [&] { return help::createAbout(*registry, *starter); },
        });
        port.setListener([&](const core::PortStatus& status) { model->showPortStatus(status); });
        app.setHalt([&] { form->halt(); });
        form->showCentred();
        scripting = offerOnSessionBus(*form, board, std::cerr);
    });
}
