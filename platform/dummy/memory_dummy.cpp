#include "../memory.h"

namespace platform {

// The system's allocator is left as it is.
void returnLargeBlocksToSystem() {}

} // namespace platform
