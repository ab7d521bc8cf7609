#include "device_lock.h"

#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/file.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace platform {
namespace {

std::optional<long> number(std::string_view text, int base = 10) {
    long value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "MAJOR:MINOR:INODE" of /proc/locks (major and minor in hex) names `file`.
bool sameFile(const std::string& field, const struct stat& file) {
    const std::size_t first = field.find(':');
    const std::size_t second = field.find(':', first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    const std::string_view view(field);
    const auto major = number(view.substr(0, first), 16);
    const auto minor = number(view.substr(first + 1, second - first - 1), 16);
    const auto inode = number(view.substr(second + 1));
    return major && minor && inode && static_cast<unsigned>(*major) == ::major(file.st_dev) &&
           static_cast<unsigned>(*minor) == ::minor(file.st_dev) &&
           static_cast<unsigned long>(*inode) == file.st_ino;
}

bool sameFileOrDevice(const struct stat& a, const struct stat& b) {
    if (S_ISCHR(a.st_mode) && S_ISCHR(b.st_mode))
        return a.st_rdev == b.st_rdev;
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::optional<DeviceUser> processById(long pid) {
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    if (pid <= 0 || !std::getline(comm, name))
        return std::nullopt;
    return DeviceUser{pid, name};
}

bool lockDevice(int fd) {
    return ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

std::optional<DeviceUser> lockHolder(int fd) {
    struct stat file {};
    if (::fstat(fd, &file) != 0)
        return std::nullopt;
    // e.g. "1: FLOCK  ADVISORY  WRITE 4242 00:05:1033 0 EOF"; a waiter's
    // line reads "1: -> FLOCK ..." and holds nothing.
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string id, type, mode, access, pid, where;
        if (!(fields >> id >> type >> mode >> access >> pid >> where) || type != "FLOCK")
            continue;
        if (!sameFile(where, file))
            continue;
        const auto holder = number(pid);
        return holder ? processById(*holder) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<DeviceUser> otherUser(const struct stat& file) {
    namespace fs = std::filesystem;
    const std::string self = std::to_string(::getpid());
    std::error_code ec;
    for (fs::directory_iterator proc("/proc", ec), end; !ec && proc != end; proc.increment(ec)) {
        const std::string pid = proc->path().filename().string();
        if (pid == self || !number(pid))
            continue;
        std::error_code denied; // another user's process
        for (fs::directory_iterator fd(proc->path() / "fd", denied); !denied && fd != end;
             fd.increment(denied)) {
            // Sockets, pipes and the like read "socket:[123]": only files are stat'ed.
            char target[16];
            const ssize_t length = ::readlink(fd->path().c_str(), target, sizeof target);
            struct stat opened {};
            if (length > 0 && target[0] == '/' && ::stat(fd->path().c_str(), &opened) == 0 &&
                sameFileOrDevice(opened, file))
                return processById(*number(pid));
        }
    }
    return std::nullopt;
}

// Through a descriptor of its own, on a device that a library opens itself
// (hidapi opens the hidraw device).
DeviceLock::DeviceLock(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        openError_ = errno;
        return;
    }
    if (!lockDevice(fd)) {
        refused_ = true;
        holder_ = lockHolder(fd);
        ::close(fd);
        return;
    }
    handle_ = fd;
}

DeviceLock::~DeviceLock() {
    if (handle_ >= 0)
        ::close(static_cast<int>(handle_));
}

} // namespace platform
