#include "registry_windows.h"
#include "../default_registry.h"
#include "wide_text.h"

#include <algorithm>
#include <string>
#include <vector>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {
namespace {
using windows::narrow;
using windows::widen;

// The predefined roots are 32-bit values that the system sign-extends on
// 64-bit Windows (HKEY_LOCAL_MACHINE is 0xFFFFFFFF80000002 there), while
// Registry::Handle carries them zero-extended.
HKEY toHkey(Registry::Handle handle) {
    if (handle >= 0x80000000u && handle <= 0x80000006u)
        return reinterpret_cast<HKEY>(
            static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<DWORD>(handle))));
    return reinterpret_cast<HKEY>(handle);
}

// UTF-8 to the ANSI code page and back.
std::string toAnsi(const std::string& utf8) {
    return narrow(widen(utf8, CP_UTF8), CP_ACP);
}
std::string fromAnsi(const std::string& ansi) {
    return narrow(widen(ansi, CP_ACP), CP_UTF8);
}

bool isText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}
} // namespace

long WindowsRegistry::RegOpenKeyExA(Handle root, const std::string& subKey, std::uint32_t options,
                                    std::uint32_t access, Handle& result) {
    HKEY key = nullptr;
    const LONG status = ::RegOpenKeyExA(toHkey(root), toAnsi(subKey).c_str(), options,
                                        static_cast<REGSAM>(access), &key);
    if (status == ERROR_SUCCESS)
        result = reinterpret_cast<Handle>(key);
    return status;
}

long WindowsRegistry::RegQueryValueExA(Handle key, const std::string& valueName,
                                       std::uint32_t& type, char* buffer, std::uint32_t& size) {
    // Read into a buffer of our own, so that a string can be converted to
    // UTF-8 before it is handed on within the caller's size.
    // At least one byte: with no buffer at all the call would report success.
    std::vector<BYTE> data(std::max<std::uint32_t>(size, 1));
    DWORD valueType = 0;
    DWORD dataSize = size;
    const LONG status = ::RegQueryValueExA(toHkey(key), toAnsi(valueName).c_str(), nullptr,
                                           &valueType, buffer ? data.data() : nullptr, &dataSize);
    type = valueType;
    if (status != ERROR_SUCCESS || buffer == nullptr || !isText(valueType)) {
        if (status == ERROR_SUCCESS && buffer != nullptr)
            std::copy(data.begin(), data.begin() + dataSize, buffer);
        size = dataSize;
        return status;
    }
    const std::string text =
        fromAnsi(std::string(reinterpret_cast<const char*>(data.data()), dataSize));
    if (text.size() > size) {
        size = static_cast<std::uint32_t>(text.size());
        return ERROR_MORE_DATA;
    }
    std::copy(text.begin(), text.end(), buffer);
    size = static_cast<std::uint32_t>(text.size());
    return status;
}

long WindowsRegistry::RegCloseKey(Handle key) {
    return ::RegCloseKey(toHkey(key));
}

std::unique_ptr<Registry> makeSystemRegistry() {
    return std::make_unique<WindowsRegistry>();
}

} // namespace platform
