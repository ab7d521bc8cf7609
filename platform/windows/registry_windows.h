#pragma once
// The real Windows registry behind platform::Registry. Keys and value names
// are taken as UTF-8 and handed to the system in its ANSI code page; string
// values come back converted to UTF-8. windows.h is deliberately kept out of
// this header: its macros (REG_SZ, HKEY_LOCAL_MACHINE...) would clash with
// the names of platform::Registry.

#include "../registry.h"

#include <memory>

namespace platform {

class WindowsRegistry final : public Registry {
  public:
    long RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t access, Handle& result) override;
    long RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                          char* buffer, std::uint32_t& size) override;
    long RegCloseKey(Handle key) override;
};

// The system's registry.
std::unique_ptr<Registry> makeSystemRegistry();

} // namespace platform
