#pragma once
// A read-only view of the system registry, shaped after the three calls the
// About window's system-information lookup needs. On Windows it is the real
// registry; elsewhere a stand-in answers the same questions.

#include <cstdint>
#include <string>

namespace platform {

class Registry {
  public:
    using Handle = std::uintptr_t;
    static constexpr Handle HKEY_LOCAL_MACHINE = 0x80000002u;
    static constexpr long Success = 0;
    static constexpr std::uint32_t REG_SZ = 1;
    static constexpr std::uint32_t REG_DWORD = 4;

    virtual ~Registry() = default;
    // Each returns 0 on success, a system error code otherwise.
    virtual long RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t options,
                               std::uint32_t access, Handle& result) = 0;
    // `size` holds the buffer's size in bytes on entry and the bytes written on return.
    virtual long RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                                  char* buffer, std::uint32_t& size) = 0;
    virtual long RegCloseKey(Handle key) = 0;
};

} // namespace platform
