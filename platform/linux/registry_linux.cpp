#include "registry_linux.h"
#include "../default_registry.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace platform {
namespace {
// Registry names compare without regard to ASCII case, as on Windows.
bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

bool isExecutableFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}
} // namespace

std::vector<std::string> defaultSysInfoPrograms() {
    return {"hardinfo",          "kinfocenter", "gnome-system-monitor", "mate-system-monitor",
            "xfce4-taskmanager", "lxtask"};
}

LinuxRegistry::LinuxRegistry() : search_{{}, defaultSysInfoPrograms()} {}

LinuxRegistry::LinuxRegistry(SysInfoToolSearch search)
    : useEnvironment_(false), search_(std::move(search)) {}

std::string LinuxRegistry::findSysInfoProgram() const {
    std::string searchPath = search_.searchPath;
    if (useEnvironment_) {
        const char* env = std::getenv("PATH");
        searchPath = env ? env : "";
    }
    for (const std::string& program : search_.programs) {
        if (program.empty() || program.find('/') != std::string::npos)
            continue;
        std::size_t start = 0;
        while (start <= searchPath.size()) {
            std::size_t end = searchPath.find(':', start);
            if (end == std::string::npos)
                end = searchPath.size();
            std::string dir = searchPath.substr(start, end - start);
            start = end + 1;
            if (dir.empty() || dir.front() != '/')
                continue;
            while (dir.size() > 1 && dir.back() == '/')
                dir.pop_back();
            const std::string candidate = (dir == "/" ? "" : dir) + "/" + program;
            if (isExecutableFile(candidate))
                return candidate;
        }
    }
    return {};
}

long LinuxRegistry::RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t,
                                  std::uint32_t access, Handle& result) {
    constexpr std::uint32_t writeRights = 0x0002 | 0x0004 | 0x0020;
    if (access & writeRights)
        return ErrorAccessDenied;
    if (root != HkeyLocalMachine || !sameName(subKey, SysInfoKey))
        return ErrorFileNotFound;
    std::string program = findSysInfoProgram();
    if (program.empty())
        return ErrorFileNotFound;
    result = nextHandle_++;
    open_.emplace(result, std::move(program));
    return NoError;
}

long LinuxRegistry::RegQueryValueExA(Handle key, const std::string& valueName, std::uint32_t& type,
                                     char* buffer, std::uint32_t& size) {
    const auto it = open_.find(key);
    if (it == open_.end())
        return ErrorInvalidHandle;
    if (!sameName(valueName, SysInfoValue))
        return ErrorFileNotFound;
    // The text with its terminating NUL, as REG_SZ data is stored.
    const std::string& text = it->second;
    const std::uint32_t needed = static_cast<std::uint32_t>(text.size() + 1);
    type = RegSz;
    if (buffer == nullptr) {
        size = needed;
        return NoError;
    }
    if (size < needed) {
        size = needed;
        return ErrorMoreData;
    }
    std::memcpy(buffer, text.c_str(), needed);
    size = needed;
    return NoError;
}

long LinuxRegistry::RegCloseKey(Handle key) {
    return open_.erase(key) == 1 ? NoError : ErrorInvalidHandle;
}

std::unique_ptr<Registry> makeSystemRegistry() {
    return std::make_unique<LinuxRegistry>();
}

} // namespace platform
