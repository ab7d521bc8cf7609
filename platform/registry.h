#pragma once
// A read-only view of the system registry, shaped after the three calls the
// About window's system-information lookup needs. On Windows it is the real
// registry; elsewhere a stand-in answers the same questions.

#include <cstdint>
#include <string>

namespace platform {

// The key and value under HKEY_LOCAL_MACHINE that name the system-information
// tool; the About window asks for them and the stand-in answers them.
inline constexpr const char* SysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* SysInfoValue = "PATH";

// Spelled differently from the Windows macros of the same meaning, which
// would otherwise replace them wherever <windows.h> is included first.
class Registry {
  public:
    using Handle = std::uintptr_t;
    static constexpr Handle HkeyLocalMachine = 0x80000002u;
    static constexpr long NoError = 0;
    static constexpr std::uint32_t RegSz = 1;
    static constexpr std::uint32_t RegDword = 4;

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
