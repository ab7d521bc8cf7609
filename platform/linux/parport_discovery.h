#pragma once
// Finds the ppdev device of the parallel port at I/O address 0x378, the one
// the relay board hangs on. The kernel lists each port's base address under
// /proc/sys/dev/parport/parportN/base-addr; parportN there is /dev/parportN.

#include <cstdint>
#include <string>

namespace platform {

inline constexpr std::uint16_t RelayPortBase = 0x378;

// The device of the port whose base address is `base`, or devDir/parport0
// when no listed port has it (or nothing is listed at all).
std::string findParportDevice(const std::string& procRoot = "/proc/sys/dev/parport",
                              const std::string& devDir = "/dev",
                              std::uint16_t base = RelayPortBase);

} // namespace platform
