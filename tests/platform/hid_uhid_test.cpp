// Drives a virtual USBRelay4 through the real kernel: /dev/uhid creates the
// HID device, the kernel's hidraw driver gives it a device node, hidapi and
// the HID backend talk to it as to a real board, and this test answers the
// feature reports as the board's firmware would. Where the kernel offers no
// /dev/uhid (containers, most CI machines) the test skips itself.
#include "platform/hidapi/hid_relay_port.h"
#include "platform/hidapi/hidapi_transport.h"

#include <QFile>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/uhid.h>
#include <mutex>
#include <poll.h>
#include <thread>
#include <unistd.h>

using core::PortStatus;
using platform::HidRelayPort;

namespace {

constexpr std::uint16_t DataRegister = 888;

// The V-USB relay boards' report descriptor: one vendor-defined collection
// with an 8-byte feature report and no report numbers.
const std::uint8_t Descriptor[] = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x15,
                                   0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08,
                                   0x09, 0x00, 0xB2, 0x02, 0x01, 0xC0};

// A USBRelay4 made of /dev/uhid and a thread that plays its firmware.
class VirtualBoard {
  public:
    explicit VirtualBoard(const std::string& uniq) {
        fd_ = ::open("/dev/uhid", O_RDWR | O_CLOEXEC);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        uhid_event create{};
        create.type = UHID_CREATE2;
        std::strncpy(reinterpret_cast<char*>(create.u.create2.name), "USBRelay4",
                     sizeof create.u.create2.name - 1);
        std::strncpy(reinterpret_cast<char*>(create.u.create2.uniq), uniq.c_str(),
                     sizeof create.u.create2.uniq - 1);
        create.u.create2.rd_size = sizeof Descriptor;
        create.u.create2.bus = BUS_USB;
        create.u.create2.vendor = 0x16c0;
        create.u.create2.product = 0x05df;
        std::memcpy(create.u.create2.rd_data, Descriptor, sizeof Descriptor);
        if (::write(fd_, &create, sizeof create) != static_cast<ssize_t>(sizeof create)) {
            error_ = errno;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        thread_ = std::thread([this] { serve(); });
    }
    ~VirtualBoard() { unplug(); }

    bool ok() const { return fd_ >= 0; }
    int error() const { return error_; }
    unsigned relays() {
        std::lock_guard lock(mutex_);
        return relays_;
    }
    void stick(unsigned mask) {
        std::lock_guard lock(mutex_);
        stuck_ = mask;
    }
    void unplug() {
        if (fd_ < 0)
            return;
        stop_ = true;
        thread_.join();
        uhid_event destroy{};
        destroy.type = UHID_DESTROY;
        [[maybe_unused]] const auto written = ::write(fd_, &destroy, sizeof destroy);
        ::close(fd_);
        fd_ = -1;
    }

  private:
    void serve() {
        while (!stop_) {
            pollfd ready{fd_, POLLIN, 0};
            if (::poll(&ready, 1, 50) <= 0)
                continue;
            uhid_event event{};
            if (::read(fd_, &event, sizeof event) <= 0)
                continue;
            if (event.type == UHID_GET_REPORT)
                answerGet(event.u.get_report.id);
            else if (event.type == UHID_SET_REPORT)
                answerSet(event.u.set_report);
        }
    }
    // The report goes back as hidraw hands it on: report number 0 first.
    void answerGet(std::uint32_t id) {
        uhid_event reply{};
        reply.type = UHID_GET_REPORT_REPLY;
        reply.u.get_report_reply.id = id;
        reply.u.get_report_reply.size = 9;
        const char boardId[] = "KAVO1";
        std::memcpy(reply.u.get_report_reply.data + 1, boardId, 5);
        {
            std::lock_guard lock(mutex_);
            reply.u.get_report_reply.data[8] = static_cast<std::uint8_t>(relays_);
        }
        [[maybe_unused]] const auto written = ::write(fd_, &reply, sizeof reply);
    }
    void answerSet(const uhid_set_report_req& request) {
        // With or without the report number in front.
        const std::uint8_t* data = request.data + (request.size == 9 ? 1 : 0);
        {
            std::lock_guard lock(mutex_);
            unsigned affected = 0, on = 0;
            if (data[0] == 0xFF || data[0] == 0xFD) {
                if (data[1] >= 1 && data[1] <= 4)
                    affected = 1u << (data[1] - 1);
                on = data[0] == 0xFF ? affected : 0;
            } else if (data[0] == 0xFE || data[0] == 0xFC) {
                affected = 0x0F;
                on = data[0] == 0xFE ? 0x0F : 0;
            }
            affected &= ~stuck_;
            relays_ = (relays_ & ~affected) | (on & affected);
        }
        uhid_event reply{};
        reply.type = UHID_SET_REPORT_REPLY;
        reply.u.set_report_reply.id = request.id;
        [[maybe_unused]] const auto written = ::write(fd_, &reply, sizeof reply);
    }

    int fd_ = -1;
    int error_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex mutex_;
    unsigned relays_ = 0;
    unsigned stuck_ = 0;
};

} // namespace

class HidUhidTest : public QObject {
    Q_OBJECT

  private slots:
    void drivesAVirtualBoardThroughTheKernel() {
        if (!QFile::exists("/dev/uhid"))
            QSKIP("this kernel offers no /dev/uhid (not loaded, or in a container): the "
                  "virtual USBRelay4 cannot be created");
        const std::string uniq = "kavo-test-" + std::to_string(::getpid());
        VirtualBoard board(uniq);
        if (!board.ok())
            QSKIP(qPrintable(QString("/dev/uhid cannot be used: %1").arg(strerror(board.error()))));

        // Find the node hidraw made for it, by its unique name: a real board
        // that happens to be plugged in must not be touched.
        std::string path;
        for (int attempt = 0; attempt < 100 && path.empty(); ++attempt) {
            for (const auto& found : platform::findHidBoards(false))
                if (found.serial == uniq && QFile::exists(QString::fromStdString(found.path)))
                    path = found.path;
            if (path.empty())
                QTest::qWait(50);
        }
        if (path.empty())
            QSKIP("the virtual board got no hidraw device node (no hidraw driver or devtmpfs)");

        HidRelayPort port(path);
        PortStatus status = port.PortOut(DataRegister, 0x00);
        QVERIFY2(status.ok, status.describe().c_str());
        QCOMPARE(board.relays(), 0u);
        status = port.PortOut(DataRegister, 0x05);
        QVERIFY2(status.ok, status.describe().c_str());
        QCOMPARE(board.relays(), 0x05u);
        QVERIFY(port.PortOut(DataRegister, 0x0F).ok);
        QCOMPARE(board.relays(), 0x0Fu);

        board.stick(0x01);
        const PortStatus stuck = port.PortOut(DataRegister, 0x0E);
        QVERIFY(!stuck.ok);
        QCOMPARE(QString::fromStdString(stuck.error),
                 "the board reports relay 1 on, not as written");

        board.unplug();
        QVERIFY(!port.PortOut(DataRegister, 0x00).ok);
    }
};

QTEST_GUILESS_MAIN(HidUhidTest)
#include "hid_uhid_test.moc"
