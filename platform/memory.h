#pragma once

namespace platform {

// Has large freed blocks (decoded pictures) go back to the system at once,
// so that closing a help window lowers the program's memory again. Call once,
// before the first window is built.
void returnLargeBlocksToSystem();

} // namespace platform
