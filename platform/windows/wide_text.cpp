#include "wide_text.h"

namespace platform::windows {

std::wstring widen(const std::string& text, UINT codePage) {
    if (text.empty())
        return {};
    const int length =
        ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          length);
    return wide;
}

std::string narrow(const std::wstring& text, UINT codePage) {
    if (text.empty())
        return {};
    const int length = ::WideCharToMultiByte(
        codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

} // namespace platform::windows
