#include "../default_port.h"

namespace platform {
namespace {

// Where the program has no way to reach a parallel port, every write fails
// with the reason, so the panel says so instead of pretending.
class NoPort : public core::PortOutput {
  public:
    core::PortStatus PortOut(std::uint16_t, std::uint8_t) override {
        return core::PortStatus::failure("parallel port", "this system has no parallel port driver",
                                         {});
    }
};

} // namespace

std::unique_ptr<core::PortOutput> makeDefaultPort() {
    return std::make_unique<NoPort>();
}

std::string presentParallelPort() {
    return {};
}

} // namespace platform
