#include "platform/console.h"

#include <windows.h>

#include <cstdio>

namespace platform {
namespace {

bool leadsNowhere(DWORD stream) {
    const HANDLE handle = ::GetStdHandle(stream);
    return handle == nullptr || handle == INVALID_HANDLE_VALUE;
}

} // namespace

void useStartingConsole() {
    const bool out = leadsNowhere(STD_OUTPUT_HANDLE), err = leadsNowhere(STD_ERROR_HANDLE);
    if ((!out && !err) || !::AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (out)
        std::freopen("CONOUT$", "w", stdout);
    if (err)
        std::freopen("CONOUT$", "w", stderr);
}

} // namespace platform
