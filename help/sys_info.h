#pragma once
// Finding and starting the operating system's system-information tool for the
// About window. Plain functions over the registry and program-start
// interfaces, so that every path can be exercised without widgets.

#include "platform/registry.h"

#include <cstdint>
#include <functional>
#include <string>

namespace platform {
class ProgramStarter;
} // namespace platform

namespace help {

// KEY_READ: a lookup needs no more. Write rights on HKEY_LOCAL_MACHINE are
// refused to a standard user (and to an administrator under UAC), which made
// the tool count as unavailable where it is installed.
inline constexpr std::uint32_t kSysInfoKeyAccess = 0x20019;
// Values longer than this count as missing.
inline constexpr std::uint32_t kValueBufferSize = 1024;

inline constexpr const char* kSysInfoKey = platform::SysInfoKey;
inline constexpr const char* kSysInfoValue = platform::SysInfoValue;
inline constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kSysInfoLocationValue = "MSINFO";
inline constexpr const char* kSysInfoProgramFile = "\\MSINFO32.EXE";
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

// Reads one registry value as text into `result`; true when a value was read.
// A missing key or value, or a value longer than the buffer, gives false and
// an empty `result`. REG_SZ: the text, cut at its terminating NUL. REG_DWORD:
// the bytes' hexadecimal digits from last to first appended to the incoming
// `result`, then "&h" in front, formatted as a decimal number when that is a
// hexadecimal number of at most 64 bits and left as "&h..." text otherwise.
// Any other type leaves `result` as it came in. The key is closed on every
// path, also after a failed open and when something throws.
bool GetKeyValue(platform::Registry& registry, platform::Registry::Handle root,
                 const std::string& keyPath, const std::string& valueName, std::string& result);

// Shows `text` in a message box titled `title` with one OK button and no
// icon, and returns when the user dismisses it.
using ShowMessage = std::function<void(const std::string& text, const std::string& title)>;

// Starts the tool named by the registry, or tells the user through
// `showMessage` that it is unavailable. Every failure in the lookup or the
// start, exceptions included, ends in that one message.
void StartSysInfo(platform::Registry& registry, platform::ProgramStarter& starter,
                  const ShowMessage& showMessage);

} // namespace help
