// The device lock on Windows: a named mutex per device, in the global
// namespace so that panels in other sessions see it too. Windows lets any
// number of programs open a HID device; the mutex is what keeps a second
// panel off the board. The system closes it when the holder ends. Who holds
// it is not known.
#include "platform/device_lock.h"

#include <windows.h>

#include <cwctype>

namespace platform {

DeviceLock::DeviceLock(const std::string& path) {
    // Device paths compare without case; '\' would be read as a namespace.
    std::wstring name = L"Global\\kavo-panel-board:";
    for (const unsigned char c : path)
        name += c == '\\' ? L'/' : static_cast<wchar_t>(std::towlower(c));
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
    const DWORD error = ::GetLastError();
    if (mutex && error == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(mutex);
        refused_ = true;
        return;
    }
    // Another user's panel made the mutex, and its default security keeps us
    // out of it.
    if (!mutex && error == ERROR_ACCESS_DENIED) {
        refused_ = true;
        return;
    }
    // Where no mutex can be had at all, the board is used unlocked.
    if (mutex)
        handle_ = reinterpret_cast<std::intptr_t>(mutex);
}

DeviceLock::~DeviceLock() {
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

} // namespace platform
