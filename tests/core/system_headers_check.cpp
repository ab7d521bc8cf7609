// Compiled, never run: the program's headers must survive the system headers
// that define True, False, Success, REG_SZ, REG_DWORD and HKEY_LOCAL_MACHINE
// as macros, when those come first.
#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xlib.h>
#endif

#include "core/output_register.h"
#include "core/switchboard.h"
#include "platform/registry.h"

static_assert(core::TrueFlag == -1 && core::FalseFlag == 0);
static_assert(platform::Registry::RegSz == 1 && platform::Registry::RegDword == 4);
static_assert(platform::Registry::NoError == 0);
