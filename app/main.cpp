// Starts the panel: the board the command line names (the parallel port by
// default) through a monitor that reports its failures, the system's beep,
// clock, registry and program start, and the windows. The command line is
// read first, so --help, --list-boards and mistakes need no display. The
// board's name on the session bus is taken before the board is opened: a
// panel for a board that another panel drives brings that one to the front
// and ends, having written nothing. The windows are built inside the event
// loop, so that an error while they are built reaches the one error report.
//
// The board runs on a thread of its own (platform::DeviceThread); the
// window's thread never waits on it. The end, in this order: the event loop
// returns; the bus service, the window and the model go, so nothing more is
// written; the board's thread is given at most a second for the writes still
// on their way ("&X"'s all off among them), and stderr says so when the board
// did not confirm the last one; the thread closes the board and ends. A board
// that still hangs then is not waited for: the process ends at once, before
// anything the hung thread might use is destroyed.
#include "app/command_line.h"
#include "app/session_bus.h"
#include "help/help_windows.h"
#include "panel/panel_model.h"
#include "platform/application_id.h"
#include "platform/console.h"
#include "platform/default_beeper.h"
#include "platform/default_clock.h"
#include "platform/default_program_starter.h"
#include "platform/default_registry.h"
#include "platform/memory.h"
#include "platform/port_monitor.h"
#include "platform/qt/device_thread.h"
#include "platform/qt/termination_request.h"
#include "platform/relay/board_choice.h"
#include "ui/error_report.h"
#include "ui/form1.h"

#include <cstdlib>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
#if defined(Q_OS_WIN)
    // Without the JIT for Qt's regular expressions: under Wine, PCRE2 freed a
    // JIT stack whose pointer had gone bad when a thread ended (a page fault
    // reading address -1 in pcre2_jit_stack_free), now and then at start.
    // The panel's few patterns are as quick interpreted.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_REGEXP_JIT"))
        qputenv("QT_ENABLE_REGEXP_JIT", "0");
#endif
    // Qt's own warnings too speak with the panel's one voice on stderr.
    qSetMessagePattern("kavo-panel: %{if-category}%{category}: %{endif}%{message}");
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const cli::Command command = cli::parseCommandLine(arguments);
    if (!std::holds_alternative<cli::RunPanel>(command))
        platform::useStartingConsole();
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

    platform::PortMonitor monitor(std::cerr);
    platform::DeviceThread device(cli::openBoard(resolved), board);
    device.setObserver([&](const core::PortStatus& status) { monitor.observe(status); });
    const std::unique_ptr<core::Beeper> beeper = platform::makeSystemBeeper();
    const std::unique_ptr<core::Clock> clock = platform::makeSystemClock();
    const std::unique_ptr<platform::Registry> registry = platform::makeSystemRegistry();
    const std::unique_ptr<platform::ProgramStarter> starter = platform::makeProgramStarter();

    platform::TerminationRequest termination;
    std::unique_ptr<panel::PanelModel> model;
    std::unique_ptr<ui::Form1> form;
    std::unique_ptr<QObject> scripting; // over the session bus, where there is one
    const int status = app.run([&] {
        model = std::make_unique<panel::PanelModel>(panel::PanelModel::Services{
            .port = device, .beeper = *beeper, .clock = *clock, .device = &device});
        form = std::make_unique<ui::Form1>(ui::Form1::Services{
            .model = *model,
            .clock = *clock,
            .endProgram = [] { QCoreApplication::exit(0); },
            .guide = [] { return help::createOperationGuide(); },
            .wiring = [] { return help::createWiringDiagram(); },
            .about = [&] { return help::createAbout(*registry, *starter); },
        });
        monitor.setListener([&](const core::PortStatus& s) { model->showPortStatus(s); });
        app.setHalt([&] { form->halt(); });
        // SIGTERM (a logout, systemctl, kill) ends the panel as a closed window
        // does: nothing more is written, but for a pulse's OFF.
        QObject::connect(&termination, &platform::TerminationRequest::requested, form.get(), [&] {
            form->close();
            QCoreApplication::exit(0);
        });
        form->showCentred();
        scripting = offerOnSessionBus(*form, board, std::cerr);
    });

    scripting.reset();
    form.reset();
    model.reset();
    const std::optional<core::PortStatus> last = device.finish();
    if (!last)
        std::cerr << "kavo-panel: the relay board did not answer the last write within a second; "
                     "its relays may not be as the panel showed them last."
                  << std::endl;
    else if (!last->ok && !(monitor.lastStatus() && monitor.lastStatus()->sameReason(*last)))
        std::cerr << "kavo-panel: the relay board did not take the last write: " << last->describe()
                  << std::endl;
    if (device.abandonedDevice()) {
        std::cout.flush();
        std::_Exit(status);
    }
    return status;
}
