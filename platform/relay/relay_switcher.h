#pragma once
// Drives a relay board from the panel's output byte: bits 0 to 3 are relays
// 1 to 4, bits 4 to 7 drive nothing, and relays 5 to 8 of a bigger board
// stay off. Only relays whose bit changed are switched, except on the first
// byte after the board was opened, when every relay is set; a board that can
// report its relays is asked after each byte whether it really did it.

#include "relay_board.h"

#include "core/channels.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform::relay {

// One relay for each of the panel's channels: bits 0..3 of the output byte.
inline constexpr int PanelRelays = core::ChannelCount;

// One command to a board; relay 0 stands for all relays of the board.
struct RelayCommand {
    int relay = 0;
    bool on = false;
    bool operator==(const RelayCommand&) const = default;
};

// Every relay of a board with `relayCount` relays, as a state mask.
std::uint8_t boardMask(int relayCount);
// The state the board's relays must take for the output byte `portByte`.
std::uint8_t relayTarget(std::uint8_t portByte, int relayCount);

// What to send to move the relays from `known` (nothing known: just opened)
// to `target`. Where several relays change and the board's all-relays
// command leaves the others as they are, that one command is sent, so All Off
// reaches every relay at the same moment.
std::vector<RelayCommand> planCommands(std::optional<std::uint8_t> known, std::uint8_t target,
                                       int relayCount, bool hasAllRelaysCommand);

struct SwitchResult {
    enum class Outcome {
        Done,     // the relays are as the byte says (as far as the board tells)
        Failed,   // a command or the read-back did not get through
        Mismatch, // the board reports other relays than were written
    };
    Outcome outcome = Outcome::Done;
    IoResult io;               // the failing exchange, for Failed
    std::uint8_t written = 0;  // the relay state that was written
    std::uint8_t reported = 0; // the state the board reported, for Mismatch

    bool ok() const { return outcome == Outcome::Done; }
    // For Mismatch: which relays differ, e.g. "the board reports relay 2 off
    // and relay 3 on, not as written".
    std::string describeMismatch(int relayCount) const;
};

class RelaySwitcher {
  public:
    explicit RelaySwitcher(RelayBoard& board) : board_(board) {}

    SwitchResult apply(std::uint8_t portByte);
    // The relays are as `relays` says (read from the board): the next byte
    // switches only what differs.
    void adopt(std::uint8_t relays) { known_ = relays; }
    // Whether the relays' state is known, i.e. the last byte got through.
    bool knowsRelays() const { return known_.has_value(); }

  private:
    RelayBoard& board_;
    std::optional<std::uint8_t> known_;
};

} // namespace platform::relay
