#pragma once
// The beep as the desktop's bell event sound, through libcanberra: for
// platforms whose own beep makes no sound (Qt's Wayland client).

#include "core/beeper.h"

#include <string>

struct ca_context;

namespace platform::canberra {

// Event ids tried in turn, from the freedesktop sound naming: the window
// system's bell, then the plain bell a theme without the first still has.
inline constexpr const char* windowSystemBell = "bell-window-system";
inline constexpr const char* plainBell = "bell";

class CanberraBeeper final : public core::Beeper {
  public:
    // The application's id and name go with every sound, so that the sound
    // server can show and mix it as this program's.
    CanberraBeeper(std::string applicationId, std::string applicationName);
    ~CanberraBeeper() override;
    CanberraBeeper(const CanberraBeeper&) = delete;
    CanberraBeeper& operator=(const CanberraBeeper&) = delete;

    // Starts the sound and returns at once; a sound that cannot be played is
    // left unplayed, like a beep on a machine without a speaker.
    void beep() override;

    // libcanberra's result for the last beep: 0 when a sound was started,
    // else a CA_ERROR_* code (see ca_strerror).
    int lastResult() const { return lastResult_; }

  private:
    bool ensureContext();

    std::string applicationId_;
    std::string applicationName_;
    ca_context* context_ = nullptr;
    int lastResult_ = 0;
};

} // namespace platform::canberra
