// How late the panel thread's 10 ms heartbeat runs while one write to the
// board hangs for 2 s. In turn, round after round, the same panel model:
//   - board on the panel's thread: the model writes the board itself, so the
//     hanging write holds the thread (as the panel did before the board got
//     a thread of its own);
//   - board on its own thread: the model hands its writes to a DeviceThread.
// Each round starts the heartbeat, switches channel 1 on with a write that
// hangs, switches channel 2 on 100 ms later and measures for 3 s.
// Usage: stalled_write [rounds]
#include "bench_support.h"

#include "panel/panel_model.h"
#include "platform/default_clock.h"
#include "platform/qt/device_thread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int HeartbeatMs = 10;
constexpr int HangMs = 2000;

// What the board did, kept apart from the board: the device thread
// destroys its board when it ends.
struct BoardLog {
    std::atomic<bool> hangNext{false};
    std::atomic<int> last{-1};
};

class HangingPort : public core::PortOutput {
  public:
    explicit HangingPort(std::shared_ptr<BoardLog> log) : log_(std::move(log)) {}
    core::PortStatus PortOut(std::uint16_t, std::uint8_t value) override {
        if (log_->hangNext.exchange(false))
            std::this_thread::sleep_for(std::chrono::milliseconds(HangMs));
        log_->last = value;
        return core::PortStatus::success("bench");
    }

  private:
    std::shared_ptr<BoardLog> log_;
};

using bench::SilentBeeper;
using bench::waitMs;

struct Outcome {
    // For every 10 ms a beat was due, how late the next beat ran: a thread
    // held for 2 s makes 200 beats late, not one.
    std::vector<double> lateness;
    bool newestOnBoard = false;
};

void addLateness(const std::vector<qint64>& beatsNs, Outcome& out) {
    constexpr qint64 period = HeartbeatMs * 1000000LL;
    for (std::size_t i = 1; i < beatsNs.size(); ++i) {
        const qint64 previous = beatsNs[i - 1], now = beatsNs[i];
        if (now - previous <= period)
            out.lateness.push_back(0);
        for (qint64 due = previous + period; due <= now; due += period)
            out.lateness.push_back(double(now - due) / 1e6);
    }
}

void round(bool ownThread, const core::Clock& clock, Outcome& out) {
    SilentBeeper beeper;
    auto log = std::make_shared<BoardLog>();
    auto owned = std::make_unique<HangingPort>(log);
    HangingPort* board = owned.get();
    std::unique_ptr<platform::DeviceThread> device;
    if (ownThread)
        device = std::make_unique<platform::DeviceThread>(std::move(owned), "bench");
    core::PortOutput& port = ownThread ? static_cast<core::PortOutput&>(*device) : *board;
    panel::PanelModel model(
        {.port = port, .beeper = beeper, .clock = clock, .device = device.get()});
    model.startupReset();
    waitMs(100);

    QElapsedTimer elapsed;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    std::vector<qint64> beats;
    QObject::connect(&heartbeat, &QTimer::timeout,
                     [&] { beats.push_back(elapsed.nsecsElapsed()); });
    elapsed.start();
    heartbeat.start(HeartbeatMs);
    QTimer::singleShot(200, [&] {
        log->hangNext = true;
        model.switchOn(1);
    });
    QTimer::singleShot(300, [&] { model.switchOn(2); });
    waitMs(3000);
    heartbeat.stop();
    addLateness(beats, out);
    if (device)
        device->finish();
    out.newestOnBoard = log->last == 0x03;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    const std::unique_ptr<core::Clock> clock = platform::makeSystemClock();

    Outcome same, own;
    int sameNewest = 0, ownNewest = 0;
    for (int i = 0; i < rounds; ++i) {
        round(false, *clock, same);
        sameNewest += same.newestOnBoard;
        round(true, *clock, own);
        ownNewest += own.newestOnBoard;
    }
    const bench::Stats s = bench::stats(same.lateness), o = bench::stats(own.lateness);
    std::printf("heartbeat %d ms, one write hanging %d ms, %d rounds of 3 s each\n", HeartbeatMs,
                HangMs, rounds);
    std::printf(
        "| board written | due beats | late: median | p99 | max | board on newest state |\n");
    std::printf("|---|---|---|---|---|---|\n");
    std::printf("| on the panel's thread | %zu | %.1f ms | %.1f ms | %.0f ms | %d/%d |\n",
                same.lateness.size(), s.median, s.p99, s.max, sameNewest, rounds);
    std::printf("| on its own thread | %zu | %.1f ms | %.1f ms | %.0f ms | %d/%d |\n",
                own.lateness.size(), o.median, o.p99, o.max, ownNewest, rounds);
    std::printf("ratio, own thread to panel's thread: p99 %.5f, max %.4f\n", o.p99 / s.p99,
                o.max / s.max);
    return 0;
}
