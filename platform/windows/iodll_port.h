#pragma once
// Writes the relay byte through PortOut of the port I/O library IO.DLL, which
// must sit next to the program or on the DLL search path. IO.DLL exists only
// for 32-bit programs, so where it cannot be loaded the byte goes through
// Out32 of InpOut's 64-bit library (inpoutx64.dll) instead. The library is
// looked up on the first write and again on every write after a failure, so
// copying it in while the program runs takes effect at once.

#include "core/port_output.h"

#include <string>

namespace platform {

class IoDllPort : public core::PortOutput {
  public:
    explicit IoDllPort(std::string library = "IO.DLL", std::string fallback = "inpoutx64.dll");
    ~IoDllPort() override;
    IoDllPort(const IoDllPort&) = delete;
    IoDllPort& operator=(const IoDllPort&) = delete;

    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;

  private:
    using PortOutFn = void(__stdcall*)(short port, char value);
    using Out32Fn = void(__stdcall*)(short port, short data);

    core::PortStatus bind();
    void unbind();

    std::string library_;
    std::string fallback_;
    std::string bound_;      // the library the writes go through
    void* module_ = nullptr; // HMODULE, kept out of the header
    PortOutFn portOut_ = nullptr;
    Out32Fn out32_ = nullptr;
};

} // namespace platform
