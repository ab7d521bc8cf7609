#pragma once
// platform::ProgramStarter on Qt: a file test and a detached start of the
// program file itself, with no shell in between.

#include "platform/program_start.h"

namespace platform::qt {

class QtProgramStarter final : public platform::ProgramStarter {
  public:
    // True for an existing regular file that is not hidden; a folder never counts.
    bool isFile(const std::string& path) const override;
    // Starts `path` with no arguments as a process of its own; false if it
    // cannot be started. The path is taken up to its first NUL, as the
    // operating system would read it.
    bool start(const std::string& path) override;
};

} // namespace platform::qt
