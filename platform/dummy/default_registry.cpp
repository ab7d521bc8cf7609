#include "../default_registry.h"

namespace platform {
namespace {

// A registry with no keys: the system-information tool counts as unavailable.
class EmptyRegistry : public Registry {
  public:
    static constexpr long FileNotFound = 2;
    long RegOpenKeyExA(Handle, const std::string&, std::uint32_t, std::uint32_t, Handle&) override {
        return FileNotFound;
    }
    long RegQueryValueExA(Handle, const std::string&, std::uint32_t&, char*,
                          std::uint32_t&) override {
        return FileNotFound;
    }
    long RegCloseKey(Handle) override { return NoError; }
};

} // namespace

std::unique_ptr<Registry> makeSystemRegistry() {
    return std::make_unique<EmptyRegistry>();
}

} // namespace platform
