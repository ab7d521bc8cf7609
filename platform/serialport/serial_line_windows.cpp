// Serial ports through Win32: a COM port opened with CreateFileW, set to the
// boards' line with a DCB, and listed through SetupAPI. Windows opens a COM
// port for one program at a time, so the open's own refusal is the lock.
#include "serial_line.h"

#include "platform/device_error.h"
#include "platform/device_lock.h"
#include "platform/relay/device_order.h"
#include "platform/relay/lcus_protocol.h"
#include "platform/windows/wide_text.h"

#include <setupapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cwctype>

namespace platform {
namespace {

using windows::narrow;
using windows::widen;

// The system's own words for `error`, without the line break it ends with.
std::string systemMessage(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(error);
    return narrow(text);
}

// The errno the device table knows the Win32 error by.
int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return EBUSY;
    case ERROR_SEM_TIMEOUT:
        return ETIMEDOUT;
    default: // unplugged: ERROR_DEVICE_NOT_CONNECTED, ERROR_GEN_FAILURE, ...
        return EIO;
    }
}

relay::IoResult lastFailure() {
    const DWORD error = ::GetLastError();
    return relay::IoResult::failure(errnoOf(error), systemMessage(error));
}

class Win32SerialLine : public SerialLine {
  public:
    explicit Win32SerialLine(std::chrono::milliseconds wait) : wait_(wait) {}
    ~Win32SerialLine() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle_);
    }

    core::PortStatus open(const std::string& device) override {
        // COM10 and above are reached only through the device namespace.
        const std::string path = device.starts_with("\\\\") ? device : "\\\\.\\" + device;
        handle_ = ::CreateFileW(widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            // Another program has the port open: Windows does not say which.
            if (errnoOf(error) == EBUSY)
                return core::PortStatus::failure(device, inUseReason(std::nullopt), InUseFix);
            return failure(device, error);
        }
        DCB line{};
        line.DCBlength = sizeof line;
        if (!::GetCommState(handle_, &line))
            return failure(device, ::GetLastError());
        line.BaudRate = relay::LcusBaudRate;
        line.ByteSize = 8;
        line.Parity = NOPARITY;
        line.StopBits = ONESTOPBIT;
        line.fBinary = TRUE;
        line.fParity = FALSE;
        line.fOutxCtsFlow = FALSE;
        line.fOutxDsrFlow = FALSE;
        line.fDtrControl = DTR_CONTROL_ENABLE;
        line.fRtsControl = RTS_CONTROL_ENABLE;
        line.fOutX = FALSE;
        line.fInX = FALSE;
        // A write returns once its bytes have left, or fails after the wait.
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(wait_.count());
        if (!::SetCommState(handle_, &line) || !::SetCommTimeouts(handle_, &timeouts))
            return failure(device, ::GetLastError());
        return core::PortStatus::success(device);
    }

    relay::IoResult write(std::span<const std::uint8_t> bytes) override {
        DWORD written = 0;
        if (!::WriteFile(handle_, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr))
            return lastFailure();
        if (written != bytes.size())
            return relay::IoResult::failure(ETIMEDOUT, "the port did not send within " +
                                                           std::to_string(wait_.count()) + " ms");
        return relay::IoResult::success();
    }

    // Each write has waited for its own bytes already.
    relay::IoResult flush() override { return relay::IoResult::success(); }

  private:
    static core::PortStatus failure(const std::string& device, DWORD error) {
        return core::PortStatus::failure(
            device, systemMessage(error),
            deviceFix(DeviceKind::SerialBoard, errnoOf(error), DeviceStep::Opening));
    }

    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::chrono::milliseconds wait_;
};

// One of a device's registry properties as text; for a list of strings
// (hardware IDs), the strings joined by '\0'.
std::wstring property(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD which) {
    wchar_t buffer[1024] = {};
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, which, nullptr,
                                             reinterpret_cast<BYTE*>(buffer), sizeof buffer - 4,
                                             nullptr))
        return {};
    std::size_t length = 0;
    while (length + 1 < std::size(buffer) && (buffer[length] || buffer[length + 1]))
        ++length;
    return std::wstring(buffer, buffer[length] ? length + 1 : length);
}

std::wstring portName(HDEVINFO set, SP_DEVINFO_DATA& device) {
    HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD size = sizeof name - sizeof name[0];
    DWORD type = 0;
    const bool read = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                         reinterpret_cast<BYTE*>(name), &size) == ERROR_SUCCESS &&
                      type == REG_SZ;
    ::RegCloseKey(key);
    return read ? std::wstring(name) : std::wstring();
}

bool isCh340(std::wstring hardwareIds) {
    std::transform(hardwareIds.begin(), hardwareIds.end(), hardwareIds.begin(), ::towupper);
    wchar_t wanted[32];
    std::swprintf(wanted, std::size(wanted), L"VID_%04X&PID_%04X", Ch340Vendor, Ch340Product);
    return hardwareIds.find(wanted) != std::wstring::npos;
}

} // namespace

std::unique_ptr<SerialLine> makeSerialLine(std::chrono::milliseconds sendWait) {
    return std::make_unique<Win32SerialLine>(sendWait);
}

std::vector<relay::SerialBoardInfo> findSerialBoards() {
    // The "Ports (COM & LPT)" device class, GUID_DEVCLASS_PORTS.
    static const GUID ports = {
        0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    std::vector<relay::SerialBoardInfo> boards;
    HDEVINFO set = ::SetupDiGetClassDevsW(&ports, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return boards;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        if (!isCh340(property(set, device, SPDRP_HARDWAREID)))
            continue;
        const std::wstring name = portName(set, device);
        if (name.empty())
            continue;
        std::wstring description = property(set, device, SPDRP_FRIENDLYNAME);
        if (description.empty())
            description = property(set, device, SPDRP_DEVICEDESC);
        boards.push_back({narrow(name), narrow(description)});
    }
    ::SetupDiDestroyDeviceInfoList(set);
    std::sort(boards.begin(), boards.end(),
              [](const auto& a, const auto& b) { return relay::devicePathBefore(a.path, b.path); });
    return boards;
}

} // namespace platform
