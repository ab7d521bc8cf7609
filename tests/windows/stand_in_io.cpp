// A stand-in for the port I/O libraries IO.DLL (PortOut) and InpOut's
// inpoutx64.dll (Out32): it reaches no hardware and appends "function port value" to
// the file named by KAVO_IO_LOG for every call, so that a test under Wine
// sees each byte the program writes.
#include <cstdio>
#include <cstdlib>

namespace {
void record(const char* function, int port, int value) {
    const char* path = std::getenv("KAVO_IO_LOG");
    if (!path)
        return;
    if (std::FILE* log = std::fopen(path, "ab")) {
        std::fprintf(log, "%s %d %d\n", function, port, value);
        std::fclose(log);
    }
}
} // namespace

extern "C" __declspec(dllexport) void __stdcall PortOut(short port, char data) {
    record("PortOut", port, static_cast<unsigned char>(data));
}

extern "C" __declspec(dllexport) void __stdcall Out32(short port, short data) {
    record("Out32", port, data);
}
