#pragma once
// The relay board on a thread of its own. Everything that touches the
// device (opening it on the first write, the writes, the lock probes of a
// refused port, closing it) runs there, one job after another, so the thread
// that hands the writes over never waits on a device.
//
// PortOut() hands a byte over and returns at once; its write is numbered
// (lastWrite()). While the board answers in time every byte is written, in
// order. Once a write is stuck (not answered within Deadline) only the
// newest byte waits behind it: the board ends on the latest state, and an
// older state is never written after a newer one. Each write's outcome is answered(), on the
// thread that made this object, and answers every write up to its number:
// one that was overtaken is answered by the first write that carries a later
// state. A write not answered within Deadline is answered as failed ("not
// answering") and reported so to the observer, which hears every outcome.
//
// The end, in this order: finish() waits at most Deadline for the writes
// still on their way, then the thread closes the device and ends. A device
// that still hangs by then keeps its thread (abandonedDevice()); the program
// should then end at once, without destroying what the device might use.
//
// An exception the backend throws fails its write and is thrown again on the
// owner's thread, from its event loop, where the program's one error report
// catches it.

#include "core/port_output.h"

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class QThread;
class QTimer;

namespace platform {

class DeviceThread : public QObject, public core::PortOutput {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds Deadline{1000};
    using Observer = std::function<void(const core::PortStatus&)>;

    // `device` names the board in a status made here, until the board's own
    // status names it. The backend is destroyed on the device thread.
    DeviceThread(std::unique_ptr<core::PortOutput> backend, std::string device,
                 QObject* parent = nullptr);
    ~DeviceThread() override;

    // Hands `value` over; answers a status that only says so.
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override;
    // The number of the newest write handed over; 0 before the first.
    std::uint64_t lastWrite() const { return submitted_; }
    void setObserver(Observer observer) { observer_ = std::move(observer); }

    // Waits at most Deadline for every write handed over, then ends the
    // thread. The last write's outcome, or none when the board did not
    // answer in time.
    std::optional<core::PortStatus> finish();
    // True when finish() had to leave the thread inside the device.
    bool abandonedDevice() const { return abandoned_; }

    static core::PortStatus notAnswering(const std::string& device);

  signals:
    // Every write up to `upTo` is answered with `status`.
    void answered(std::uint64_t upTo, const core::PortStatus& status);

  private:
    struct Job {
        std::uint16_t port;
        std::uint8_t value;
        std::uint64_t id;
    };
    void completed(std::uint64_t id, core::PortStatus status);
    void answer(std::uint64_t upTo, const core::PortStatus& status);
    void overdue();
    void armDeadline();

    // What the device thread uses; the thread keeps it alive should it be
    // left behind.
    struct Shared {
        std::unique_ptr<core::PortOutput> backend;
        std::mutex mutex;
        std::condition_variable wake, done;
        std::deque<Job> queue;
        bool stuck = false;         // the write under way is overdue
        std::uint64_t finished = 0; // the last job the device returned from
        std::optional<core::PortStatus> finishedStatus;
        bool ending = false;
        bool ended = false;
        DeviceThread* owner; // told of each outcome while it exists
    };
    static void loop(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    Observer observer_;
    std::string device_;
    std::uint64_t submitted_ = 0;
    std::uint64_t answered_ = 0;
    // Writes waiting for their answer, with when they are overdue.
    std::deque<std::pair<std::uint64_t, std::chrono::steady_clock::time_point>> waiting_;
    QTimer* deadline_;
    bool abandoned_ = false;
    bool stalled_ = false; // "not answering" told, and no outcome since
    // A QThread rather than a thread Qt does not know: queued calls from a
    // foreign thread make Qt adopt it, which under Windows (and Wine) raced
    // with the start of the window.
    QThread* thread_ = nullptr;
};

} // namespace platform
