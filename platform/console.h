#pragma once
// The console the program was started from. The Windows program is a
// windowed one, so Windows gives it no console of its own: what it prints
// for --help, --list-boards or a mistake on the command line is lost unless
// it writes to the console of the shell that started it.

namespace platform {

// Makes stdout and stderr reach the starting console where they lead
// nowhere; where they are redirected (or on Linux) they are left alone.
void useStartingConsole();

} // namespace platform
