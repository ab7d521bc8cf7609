#include "sys_info.h"

#include "platform/program_start.h"
#include "ui/program_identity.h"

#include <array>
#include <charconv>

namespace help {
namespace {
using platform::Registry;

// The text of the first `size` bytes, without the terminating NUL if the
// last of them is one. A zero-length value gives empty text.
std::string keptText(const std::array<char, kValueBufferSize>& buffer, std::uint32_t size) {
    if (size == 0)
        return {};
    if (buffer[size - 1] == '\0')
        return std::string(buffer.data(), size - 1);
    return std::string(buffer.data(), size);
}

void appendHex(std::string& text, unsigned char code) {
    static constexpr char digits[] = "0123456789ABCDEF";
    if (code >= 16)
        text += digits[code / 16];
    text += digits[code % 16];
}

// "&h" followed by hexadecimal digits reads as that number in decimal; any
// other text, or a number beyond 64 bits, stays as it is.
std::string formatValue(const std::string& text) {
    const std::string_view prefix = "&h";
    if (text.size() <= prefix.size() || text.compare(0, prefix.size(), prefix) != 0)
        return text;
    const char* first = text.data() + prefix.size();
    const char* last = text.data() + text.size();
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(first, last, number, 16);
    if (error != std::errc{} || end != last)
        return text;
    return std::to_string(number);
}

bool readValue(Registry& registry, Registry::Handle root, const std::string& keyPath,
               const std::string& valueName, Registry::Handle& key, std::string& result) {
    if (registry.RegOpenKeyExA(root, keyPath, 0, kSysInfoKeyAccess, key) != Registry::NoError) {
        result.clear();
        return false;
    }
    std::array<char, kValueBufferSize> buffer{};
    std::uint32_t type = 0;
    std::uint32_t size = kValueBufferSize;
    // A size beyond the buffer means the value did not fit, whatever the
    // call answered; nothing past the buffer is ever read.
    if (registry.RegQueryValueExA(key, valueName, type, buffer.data(), size) != Registry::NoError ||
        size > kValueBufferSize) {
        result.clear();
        return false;
    }
    const std::string kept = keptText(buffer, size);
    switch (type) {
    case Registry::RegSz:
        result = kept;
        break;
    case Registry::RegDword:
        for (auto it = kept.rbegin(); it != kept.rend(); ++it)
            appendHex(result, static_cast<unsigned char>(*it));
        result = formatValue("&h" + result);
        break;
    default:
        break;
    }
    return true;
}

bool tryStart(Registry& registry, platform::ProgramStarter& starter) {
    std::string sysInfoPath;
    if (!GetKeyValue(registry, Registry::HkeyLocalMachine, kSysInfoKey, kSysInfoValue,
                     sysInfoPath)) {
        if (!GetKeyValue(registry, Registry::HkeyLocalMachine, kSysInfoLocationKey,
                         kSysInfoLocationValue, sysInfoPath))
            return false;
        const std::string program = sysInfoPath + kSysInfoProgramFile;
        if (!starter.isFile(program))
            return false;
        sysInfoPath = program;
    }
    return starter.start(sysInfoPath);
}
} // namespace

bool GetKeyValue(Registry& registry, Registry::Handle root, const std::string& keyPath,
                 const std::string& valueName, std::string& result) {
    Registry::Handle key = 0;
    bool read = false;
    try {
        read = readValue(registry, root, keyPath, valueName, key, result);
    } catch (...) {
        registry.RegCloseKey(key);
        throw;
    }
    registry.RegCloseKey(key);
    return read;
}

void StartSysInfo(Registry& registry, platform::ProgramStarter& starter,
                  const ShowMessage& showMessage) {
    bool started = false;
    try {
        started = tryStart(registry, starter);
    } catch (...) {
        started = false;
    }
    if (!started)
        showMessage(kSysInfoUnavailable, std::string(ui::identity::title));
}

} // namespace help
