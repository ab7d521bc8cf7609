#pragma once
// Runs blocking device calls on a thread of their own, one job at a time, and
// waits for each only up to a deadline. A HID request to a board that hangs
// takes the kernel seconds to give up on; the window must not wait that
// long, so the caller gets "timed out" and every later job is refused as
// "busy" until the stuck one has finished. Nothing is queued behind a stuck
// job, so no stale switch reaches the board afterwards.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace platform {

class BoundedWorker {
  public:
    enum class Outcome { Done, TimedOut, Busy };

    BoundedWorker();
    // Waits for a running job up to the last deadline given, then leaves it
    // to finish on its own: whatever a job uses must be owned by the job.
    ~BoundedWorker();
    BoundedWorker(const BoundedWorker&) = delete;
    BoundedWorker& operator=(const BoundedWorker&) = delete;

    Outcome run(std::function<void()> job, std::chrono::milliseconds deadline);

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable changed;
        std::function<void()> job;
        bool running = false;
        bool stop = false;
        std::uint64_t started = 0;
        std::uint64_t finished = 0;
    };
    static void loop(std::shared_ptr<Shared> shared);

    std::shared_ptr<Shared> shared_;
    std::thread thread_;
    std::chrono::milliseconds lastDeadline_{0};
};

} // namespace platform
