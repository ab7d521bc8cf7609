#pragma once
// The stand-in for the Windows registry on Linux. It is read-only and knows a
// single key: HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO, whose
// REG_SZ value "PATH" names the first system-information program found on the
// executable search path. With no such program the key does not exist, and
// neither does any other key.

#include "../registry.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Where the stand-in looks for a system-information program.
struct SysInfoToolSearch {
    // Directories separated by ':', as in $PATH. Empty and relative entries
    // are skipped: the value must be a full path, and the current directory
    // is no place to pick up a program from.
    std::string searchPath;
    // Program names in order of preference.
    std::vector<std::string> programs;
};

// The system-information programs of common Debian desktops, best first.
std::vector<std::string> defaultSysInfoPrograms();

class LinuxRegistry final : public Registry {
  public:
    static constexpr long ErrorFileNotFound = 2;
    static constexpr long ErrorAccessDenied = 5;
    static constexpr long ErrorInvalidHandle = 6;
    static constexpr long ErrorMoreData = 234;

    // Searches $PATH, as it is at each open, for defaultSysInfoPrograms().
    LinuxRegistry();
    explicit LinuxRegistry(SysInfoToolSearch search);

    // As Windows answers a standard user: a mask with write rights (set
    // value, create subkey, create link) is refused.
    long RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t options,
                       std::uint32_t access, Handle& result) override;
    long RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                          char* buffer, std::uint32_t& size) override;
    long RegCloseKey(Handle key) override;

    // The full path of the first program found, or empty when none is.
    std::string findSysInfoProgram() const;

  private:
    bool useEnvironment_ = true;
    SysInfoToolSearch search_;
    // Open keys and the program path each saw when it was opened.
    std::map<Handle, std::string> open_;
    Handle nextHandle_ = 0x1000;
};

} // namespace platform
