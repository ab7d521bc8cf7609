// Starts the panel: the real port (through a monitor that reports failures),
// the system beep and clock, and the secondary windows. The command line is
// read first, so --help, --list-boards and mistakes need no display.
#include "app/command_line.h"
#include "help/help_windows.h"
#include "help/qt_program_starter.h"
#ifdef _WIN32
#include "platform/windows/registry_windows.h"
#else
#include "platform/linux/registry_linux.h"
#endif
#include "platform/port_monitor.h"
#include "scheduler/qt_clock.h"
#include "ui/error_report.h"
#include "ui/form1.h"
#include "ui/qt_beeper.h"

#include <iostream>

int main(int argc, char** argv) {
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

    ui::Application app(argc, argv);
    app.setApplicationName("kavo-panel");

    std::unique_ptr<platform::PortOutput> backend =
        cli::openBoard(std::get<cli::RunPanel>(command).board);
    platform::PortMonitor port(*backend, std::cerr);
    ui::QtBeeper beeper;
    scheduler::SystemClock clock;
    std::unique_ptr<platform::Registry> registry = platform::makeSystemRegistry();
    help::QtProgramStarter starter;

    ui::Form1 form({port, beeper, clock, [] { QCoreApplication::exit(0); },
                    [] { return help::createOperationGuide(); },
                    [] { return help::createWiringDiagram(); },
                    [&] { return help::createAbout(*registry, starter); }});
    port.setListener([&form](const platform::PortStatus& status) { form.showPortStatus(status); });
    form.showCentred();
    return app.exec();
}
