#include "../default_port.h"
#include "iodll_port.h"

namespace platform {

std::unique_ptr<PortOutput> makeDefaultPort() {
    return std::make_unique<IoDllPort>();
}

} // namespace platform
