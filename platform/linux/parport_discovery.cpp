#include "parport_discovery.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <optional>

namespace platform {
namespace {

// "parport12" -> 12; anything else (e.g. "default") is not a port.
std::optional<unsigned> portNumber(const std::string& name) {
    const std::string prefix = "parport";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    unsigned number = 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    const auto [end, ec] = std::from_chars(first, last, number);
    if (ec != std::errc() || end != last)
        return std::nullopt;
    return number;
}

// The file holds the base address and the ECP address in decimal, e.g. "888\t1912\n".
std::optional<unsigned long> baseAddress(const std::filesystem::path& file) {
    std::ifstream in(file);
    unsigned long base = 0;
    if (!(in >> base))
        return std::nullopt;
    return base;
}

} // namespace

std::string findParportDevice(const std::string& procRoot, const std::string& devDir,
                              std::uint16_t base) {
    unsigned found = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(procRoot, ec), end; !ec && it != end;
         it.increment(ec)) {
        const auto number = portNumber(it->path().filename().string());
        if (number && baseAddress(it->path() / "base-addr") == base) {
            found = *number;
            break;
        }
    }
    return devDir + "/parport" + std::to_string(found);
}

std::vector<IoRegion> ioRegions(const std::string& procIoports) {
    std::vector<IoRegion> regions;
    std::ifstream in(procIoports);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t dash = line.find('-');
        const std::size_t colon = line.find(" : ");
        if (dash == std::string::npos || colon == std::string::npos || colon < dash)
            continue;
        const std::size_t first = line.find_first_not_of(' ');
        unsigned long start = 0, end = 0;
        const auto [p1, e1] = std::from_chars(line.data() + first, line.data() + dash, start, 16);
        const auto [p2, e2] = std::from_chars(line.data() + dash + 1, line.data() + colon, end, 16);
        if (e1 != std::errc() || e2 != std::errc() || p1 != line.data() + dash ||
            p2 != line.data() + colon)
            continue;
        regions.push_back({start, end});
    }
    return regions;
}

bool ioRegionListed(const std::string& procIoports, std::uint16_t address) {
    return std::ranges::any_of(ioRegions(procIoports), [&](const IoRegion& region) {
        return region.start == address && region.end != 0;
    });
}

} // namespace platform
