// Stands in for the system-information tool on Windows: when it runs it
// leaves behind the file that KAVO_TOOL_MARKER names.

#include <cstdio>
#include <cstdlib>

int main() {
    const char* marker = std::getenv("KAVO_TOOL_MARKER");
    std::FILE* file = marker ? std::fopen(marker, "w") : nullptr;
    if (file == nullptr)
        return 1;
    std::fputs("started\n", file);
    return std::fclose(file) == 0 ? 0 : 1;
}
