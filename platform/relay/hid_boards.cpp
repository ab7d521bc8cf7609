#include "hid_boards.h"

#include <algorithm>
#include <cerrno>

namespace platform::relay {
namespace {

bool answersTo(const HidBoardInfo& board, const std::string& name) {
    return !name.empty() && (board.id == name || board.serial == name);
}

// The name a board is best known by: its own ID, else its USB serial.
std::string nameOf(const HidBoardInfo& board) {
    return board.id.empty() ? board.serial : board.id;
}

HidBoardPick notFound(std::string why, std::string fix) {
    return {-1, IoResult::failure(ENODEV, std::move(why)), std::move(fix)};
}

} // namespace

HidBoardPick pickHidBoard(const std::vector<HidBoardInfo>& boards, const std::string& selector) {
    const std::string plugIn = std::string("Plug in the board; ") + ListBoardsHint + ".";
    if (boards.empty())
        return notFound("no USB HID relay board is plugged in", plugIn);
    if (selector.empty())
        return {0, IoResult::success(), {}};

    if (isDevicePath(selector)) {
        for (std::size_t i = 0; i < boards.size(); ++i)
            if (sameDevicePath(boards[i].path, selector))
                return {static_cast<int>(i), IoResult::success(), {}};
        return notFound("no USB HID relay board the panel knows is at this device", plugIn);
    }

    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < boards.size(); ++i)
        if (answersTo(boards[i], selector))
            matches.push_back(i);
    if (matches.size() == 1)
        return {static_cast<int>(matches.front()), IoResult::success(), {}};
    if (matches.size() > 1)
        return {-1,
                IoResult::failure(EEXIST, std::to_string(matches.size()) + " boards have the ID " +
                                              selector),
                "Pick one by its device, e.g. --board=usb-hid:" + boards[matches.front()].path +
                    "; " + ListBoardsHint + "."};
    // A board that could not be opened may be the one; its reason is the
    // one to fix.
    for (const HidBoardInfo& board : boards)
        if (!board.access.ok)
            return {-1, board.access, {}};
    return notFound("no USB HID relay board has the ID " + selector, plugIn);
}

BoardChoice choiceForHidBoard(const std::vector<HidBoardInfo>& boards, std::size_t index) {
    const HidBoardInfo& board = boards.at(index);
    const std::string name = nameOf(board);
    const bool unique = !name.empty() && !isDevicePath(name) &&
                        std::count_if(boards.begin(), boards.end(), [&](const HidBoardInfo& other) {
                            return answersTo(other, name);
                        }) == 1;
    return {BoardKind::UsbHid, unique ? name : board.path};
}

} // namespace platform::relay
