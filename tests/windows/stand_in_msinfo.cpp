// A stand-in for the system-information tool: it opens no window and writes
// "started" to the file named by KAVO_MSINFO_LOG, so that a test under Wine
// sees that the About window started the program the registry names.
#include <cstdio>
#include <cstdlib>

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* path = std::getenv("KAVO_MSINFO_LOG");
    if (!path)
        return 1;
    std::FILE* log = std::fopen(path, "ab");
    if (!log)
        return 1;
    std::fputs("started\n", log);
    std::fclose(log);
    return 0;
}
