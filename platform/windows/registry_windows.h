#pragma once
// The real Windows registry behind platform::Registry. Keys and value names
// are taken as UTF-8 and handed to the system in its ANSI code page; string
// values come back converted to UTF-8. windows.h stays out of this header,
// so that its macros reach only the files that ask for them.

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

} // namespace platform
