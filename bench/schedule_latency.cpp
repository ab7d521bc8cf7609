// Measures scheduled switching with real timers and the real clock:
//   - the delay from the start of the armed second to the port write, per
//     channel (median, p99, maximum) over repeated runs;
//   - the share of armed seconds missed, also while the window's thread is
//     kept busy for 1.5 s around the armed second;
//   - the CPU time used while all four rows are armed.
// Usage: schedule_latency [runs] [busy-runs] [cpu-seconds]
#include "bench_support.h"

#include "panel/panel_model.h"
#include "platform/qt/system_clock.h"
#include "scheduler/clock_text.h"
#include "ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

class TimedPort : public core::PortOutput {
  public:
    explicit TimedPort(const core::Clock& clock) : clock_(clock) {}
    core::PortStatus PortOut(std::uint16_t, std::uint8_t value) override {
        writes.push_back({clock_.localMsecs(), value});
        return core::PortStatus::success("bench");
    }
    struct Write {
        std::int64_t at;
        std::uint8_t value;
    };
    std::vector<Write> writes;

  private:
    const core::Clock& clock_;
};

using bench::SilentBeeper;
using bench::waitMs;

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

using bench::Stats;
using bench::stats;

struct Run {
    std::array<std::vector<double>, 4> delays;
    std::array<int, 4> missed{};
};

// Arms every row for a second about two seconds ahead and waits for it.
// With `busyMs`, blocks the thread for that long, centred on the armed second.
void armAndWait(ui::Form1& form, TimedPort& port, const core::Clock& clock, int busyMs, Run& run) {
    const std::int64_t now = clock.localMsecs();
    const std::int64_t armed = (now / 1000 + 2) * 1000; // start of the armed second
    const QString text = QString::fromStdString(scheduler::clockText(armed));
    const int before = form.outputRegister().PortValue();
    port.writes.clear();
    for (int row = 1; row <= 4; ++row) {
        form.Text(row)->setText(text);
        form.Check(row)->setCheckState(Qt::Checked);
    }
    if (busyMs > 0) {
        const std::int64_t busyFrom = armed - busyMs / 2;
        waitMs(int(std::max<std::int64_t>(0, busyFrom - clock.localMsecs())));
        while (clock.localMsecs() < busyFrom + busyMs) {
        }
    }
    waitMs(int(armed + 1500 - clock.localMsecs()));
    // Each scheduled switch toggles one channel: the bit that changed says which.
    int last = before;
    std::array<bool, 4> seen{};
    for (const auto& w : port.writes) {
        for (int row = 1; row <= 4; ++row) {
            if (((w.value ^ last) >> (row - 1)) & 1) {
                seen[row - 1] = true;
                run.delays[row - 1].push_back(double(w.at - armed));
            }
        }
        last = w.value;
    }
    for (int row = 1; row <= 4; ++row) {
        if (!seen[row - 1]) {
            ++run.missed[row - 1];
            form.Check(row)->setCheckState(Qt::Unchecked);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
    const int busyRuns = argc > 2 ? std::atoi(argv[2]) : 5;
    const int cpuSecondsToMeasure = argc > 3 ? std::atoi(argv[3]) : 10;

    platform::qt::SystemClock clock;
    TimedPort port(clock);
    SilentBeeper beeper;
    panel::PanelModel model({.port = port, .beeper = beeper, .clock = clock});
    ui::Form1 form({.model = model, .clock = clock, .endProgram = [] {}});
    form.show();

    auto report = [&](const char* title, const Run& run, int n) {
        std::printf("%s (%d armed seconds per channel)\n", title, n);
        std::printf("  channel  interval  median ms  p99 ms  max ms  missed\n");
        for (int row = 1; row <= 4; ++row) {
            const Stats s = stats(run.delays[row - 1]);
            std::printf("  %7d  %6d ms  %9.1f  %6.1f  %6.1f  %d/%d\n", row,
                        form.Timer(row + 1)->interval(), s.median, s.p99, s.max,
                        run.missed[row - 1], n);
        }
    };

    Run idle;
    for (int i = 0; i < runs; ++i)
        armAndWait(form, port, clock, 0, idle);
    report("Idle thread", idle, runs);

    Run busy;
    for (int i = 0; i < busyRuns; ++i)
        armAndWait(form, port, clock, 1500, busy);
    report("Thread busy for 1.5 s around the armed second", busy, busyRuns);

    // CPU while all four rows are armed for a time an hour away.
    const QString later =
        QString::fromStdString(scheduler::clockText(clock.localMsecs() + 3600 * 1000));
    for (int row = 1; row <= 4; ++row) {
        form.Text(row)->setText(later);
        form.Check(row)->setCheckState(Qt::Checked);
    }
    const double cpu0 = cpuSeconds();
    const std::int64_t wall0 = clock.localMsecs();
    waitMs(cpuSecondsToMeasure * 1000);
    const double cpu = cpuSeconds() - cpu0;
    const double wall = double(clock.localMsecs() - wall0) / 1000.0;
    std::printf("CPU with all four rows armed: %.3f s over %.1f s = %.2f%% of one core\n", cpu,
                wall, 100.0 * cpu / wall);
    return 0;
}
