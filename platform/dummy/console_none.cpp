#include "platform/console.h"

namespace platform {

// A program started from a terminal writes to it already.
void useStartingConsole() {}

} // namespace platform
