#pragma once
// Text between the program's bytes (UTF-8, or the ANSI code page) and the
// UTF-16 of Windows' wide calls.

#include <string>

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform::windows {

std::wstring widen(const std::string& text, UINT codePage = CP_UTF8);
std::string narrow(const std::wstring& text, UINT codePage = CP_UTF8);

} // namespace platform::windows
