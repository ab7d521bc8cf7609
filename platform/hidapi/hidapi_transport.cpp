#include "hidapi_transport.h"

#include "platform/relay/device_order.h"

#include <hidapi.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <mutex>

namespace platform {
namespace {

// hidapi speaks wide strings; the boards' strings are ASCII.
std::string narrow(const wchar_t* text) {
    std::string out;
    for (; text && *text; ++text)
        out += (*text > 0 && *text < 0x80) ? static_cast<char>(*text) : '?';
    return out;
}

std::mutex libraryMutex;
int libraryUsers = 0;

} // namespace

HidapiLibrary::HidapiLibrary() {
    const std::lock_guard lock(libraryMutex);
    if (libraryUsers++ == 0)
        hid_init(); // a failure shows again, with its reason, when a board is opened
}

HidapiLibrary::~HidapiLibrary() {
    const std::lock_guard lock(libraryMutex);
    if (--libraryUsers == 0)
        hid_exit();
}

HidapiTransport::HidapiTransport(const std::string& path) {
    errno = 0;
    device_ = hid_open_path(path.c_str());
    if (!device_) {
        // hidapi leaves open()'s errno in place; its message says the same.
        const int error = errno;
        opened_ = error ? relay::IoResult::failure(error, std::strerror(error))
                        : relay::IoResult::failure(EIO, narrow(hid_error(nullptr)));
    }
}

HidapiTransport::~HidapiTransport() {
    if (device_)
        hid_close(device_);
}

relay::IoResult HidapiTransport::failure(int error) const {
    if (error)
        return relay::IoResult::failure(error, std::strerror(error));
    return relay::IoResult::failure(EIO, narrow(hid_error(device_)));
}

relay::IoResult HidapiTransport::sendFeatureReport(std::span<const std::uint8_t> report) {
    errno = 0;
    if (hid_send_feature_report(device_, report.data(), report.size()) < 0)
        return failure(errno);
    return relay::IoResult::success();
}

relay::IoResult HidapiTransport::getFeatureReport(std::span<std::uint8_t> report,
                                                  std::size_t& received) {
    errno = 0;
    const int got = hid_get_feature_report(device_, report.data(), report.size());
    if (got < 0)
        return failure(errno);
    received = static_cast<std::size_t>(got);
    return relay::IoResult::success();
}

relay::IoResult HidapiTransport::writeOutputReport(std::span<const std::uint8_t> report) {
    errno = 0;
    const int sent = hid_write(device_, report.data(), report.size());
    if (sent < 0)
        return failure(errno);
    if (static_cast<std::size_t>(sent) != report.size())
        return relay::IoResult::failure(EIO, "the board took " + std::to_string(sent) + " of " +
                                                 std::to_string(report.size()) + " bytes");
    return relay::IoResult::success();
}

std::vector<relay::HidBoardInfo> findHidBoards(bool readIds) {
    const HidapiLibrary library;
    std::vector<relay::HidBoardInfo> boards;
    hid_device_info* all = hid_enumerate(0, 0);
    for (const hid_device_info* device = all; device; device = device->next) {
        if (!device->path)
            continue;
        const auto model = relay::identifyHidBoard(device->vendor_id, device->product_id,
                                                   narrow(device->product_string));
        // A device is listed once per usage it has.
        const auto same = [&](const relay::HidBoardInfo& b) { return b.path == device->path; };
        if (!model || std::any_of(boards.begin(), boards.end(), same))
            continue;
        boards.push_back({device->path, *model, narrow(device->serial_number), {}, {}});
    }
    hid_free_enumeration(all);
    std::sort(boards.begin(), boards.end(),
              [](const auto& a, const auto& b) { return relay::devicePathBefore(a.path, b.path); });

    if (readIds) {
        for (relay::HidBoardInfo& board : boards) {
            if (board.model.family != relay::HidBoardFamily::UsbRelay)
                continue;
            HidapiTransport transport(board.path);
            board.access = transport.openResult();
            if (!transport.ok())
                continue;
            relay::UsbRelayStatus status;
            board.access = relay::readUsbRelayStatus(transport, status);
            board.id = status.id;
        }
    }
    return boards;
}

std::string canonicalDevicePath(const std::string& path) {
    // Windows's device paths are no files and have no links.
    if (!path.starts_with('/'))
        return path;
    std::error_code ec;
    const std::filesystem::path resolved = std::filesystem::canonical(path, ec);
    return ec ? path : resolved.string();
}

} // namespace platform
