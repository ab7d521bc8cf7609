#pragma once
#include <string>

namespace platform {

// Starting another program and testing for a file, for the About window.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    // True if a normal file exists at `path`.
    virtual bool isFile(const std::string& path) const = 0;
    // Starts the program at `path` as a separate process (never through a
    // shell), with a normal window that takes the focus. False if it cannot start.
    virtual bool start(const std::string& path) = 0;
};

} // namespace platform
