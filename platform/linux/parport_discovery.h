#pragma once
// Finds the ppdev device of the parallel port the relay board hangs on. The
// kernel lists each port's base address under
// /proc/sys/dev/parport/parportN/base-addr; parportN there is /dev/parportN.

#include "core/port_output.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

inline constexpr std::uint16_t RelayPortBase = core::ParallelDataPort;

// The device of the port whose base address is `base`, or devDir/parport0
// when no listed port has it (or nothing is listed at all).
std::string findParportDevice(const std::string& procRoot = "/proc/sys/dev/parport",
                              const std::string& devDir = "/dev",
                              std::uint16_t base = RelayPortBase);

// An I/O region the kernel lists in /proc/ioports, one a line, nested ones
// indented: "  0378-037a : parport0" is {0x378, 0x37a}. Unprivileged readers
// see every region as 0000-0000, and cannot do direct I/O anyway.
struct IoRegion {
    unsigned long start = 0;
    unsigned long end = 0;
};

// Every region listed in `procIoports`, in its order; lines of any other form
// are left out.
std::vector<IoRegion> ioRegions(const std::string& procIoports = "/proc/ioports");

// Whether the kernel lists a region starting at `address`: a driver holds a
// port there. A wider region merely around it (the PCI bus's "0000-0cf7") is
// no port, and a write there would go into nothing.
bool ioRegionListed(const std::string& procIoports = "/proc/ioports",
                    std::uint16_t address = RelayPortBase);

} // namespace platform
