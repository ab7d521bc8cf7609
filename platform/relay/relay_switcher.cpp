#include "relay_switcher.h"

#include <algorithm>

namespace platform::relay {

std::uint8_t boardMask(int relayCount) {
    const int count = std::clamp(relayCount, 0, 8);
    return static_cast<std::uint8_t>((1u << count) - 1u);
}

std::uint8_t relayTarget(std::uint8_t portByte, int relayCount) {
    return static_cast<std::uint8_t>(portByte & boardMask(std::min(relayCount, PanelRelays)));
}

std::vector<RelayCommand> planCommands(std::optional<std::uint8_t> known, std::uint8_t target,
                                       int relayCount, bool hasAllRelaysCommand) {
    const std::uint8_t all = boardMask(relayCount);
    target &= all;
    // Just opened: every relay is set, the ones the panel does not drive to off.
    const std::uint8_t changed = known ? static_cast<std::uint8_t>((*known ^ target) & all) : all;
    std::vector<RelayCommand> commands;
    if (changed == 0)
        return commands;
    const bool several = (changed & (changed - 1)) != 0;
    if (hasAllRelaysCommand && several && (target == 0 || target == all)) {
        commands.push_back({0, target != 0});
        return commands;
    }
    for (int relay = 1; relay <= relayCount && relay <= 8; ++relay) {
        const auto bit = static_cast<std::uint8_t>(1u << (relay - 1));
        if (changed & bit)
            commands.push_back({relay, (target & bit) != 0});
    }
    return commands;
}

std::string SwitchResult::describeMismatch(int relayCount) const {
    std::vector<std::string> differing;
    for (int relay = 1; relay <= relayCount && relay <= 8; ++relay) {
        const auto bit = static_cast<std::uint8_t>(1u << (relay - 1));
        if ((written ^ reported) & bit)
            differing.push_back("relay " + std::to_string(relay) +
                                ((reported & bit) ? " on" : " off"));
    }
    std::string text = "the board reports ";
    if (differing.empty())
        text += "other relays";
    for (std::size_t i = 0; i < differing.size(); ++i) {
        if (i > 0)
            text += i + 1 == differing.size() ? " and " : ", ";
        text += differing[i];
    }
    return text + ", not as written";
}

SwitchResult RelaySwitcher::apply(std::uint8_t portByte) {
    const int count = board_.relayCount();
    SwitchResult result;
    result.written = relayTarget(portByte, count);
    // Until this byte is through, nothing is known: a failure anywhere below
    // makes the next byte set every relay again.
    const std::optional<std::uint8_t> known = known_;
    known_.reset();

    for (const RelayCommand& command :
         planCommands(known, result.written, count, board_.hasAllRelaysCommand())) {
        result.io = command.relay == 0 ? board_.setAllRelays(command.on)
                                       : board_.setRelay(command.relay, command.on);
        if (!result.io.ok) {
            result.outcome = SwitchResult::Outcome::Failed;
            return result;
        }
    }
    result.io = board_.finish();
    if (!result.io.ok) {
        result.outcome = SwitchResult::Outcome::Failed;
        return result;
    }
    if (board_.reportsRelays()) {
        std::uint8_t state = 0;
        result.io = board_.readRelays(state);
        if (!result.io.ok) {
            result.outcome = SwitchResult::Outcome::Failed;
            return result;
        }
        result.reported = static_cast<std::uint8_t>(state & boardMask(count));
        if (result.reported != result.written) {
            result.outcome = SwitchResult::Outcome::Mismatch;
            return result;
        }
    }
    known_ = result.written;
    return result;
}

} // namespace platform::relay
