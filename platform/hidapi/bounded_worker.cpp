#include "bounded_worker.h"

namespace platform {

BoundedWorker::BoundedWorker()
    : shared_(std::make_shared<Shared>()), thread_(&BoundedWorker::loop, shared_) {}

BoundedWorker::~BoundedWorker() {
    std::unique_lock lock(shared_->mutex);
    shared_->stop = true;
    shared_->changed.notify_all();
    const bool idle =
        shared_->changed.wait_for(lock, lastDeadline_, [this] { return !shared_->running; });
    lock.unlock();
    if (idle)
        thread_.join();
    else
        thread_.detach(); // it owns its state and ends after the stuck job
}

BoundedWorker::Outcome BoundedWorker::run(std::function<void()> job,
                                          std::chrono::milliseconds deadline) {
    std::unique_lock lock(shared_->mutex);
    if (shared_->running)
        return Outcome::Busy;
    lastDeadline_ = deadline;
    shared_->job = std::move(job);
    shared_->running = true;
    const std::uint64_t ticket = ++shared_->started;
    shared_->changed.notify_all();
    const bool done =
        shared_->changed.wait_for(lock, deadline, [&] { return shared_->finished >= ticket; });
    return done ? Outcome::Done : Outcome::TimedOut;
}

void BoundedWorker::loop(std::shared_ptr<Shared> shared) {
    std::unique_lock lock(shared->mutex);
    for (;;) {
        shared->changed.wait(lock, [&] { return shared->stop || shared->running; });
        if (!shared->running)
            return; // stopped while idle
        std::function<void()> job = std::move(shared->job);
        shared->job = nullptr;
        lock.unlock();
        job();
        job = nullptr; // release what the job owns before reporting it done
        lock.lock();
        shared->running = false;
        ++shared->finished;
        shared->changed.notify_all();
    }
}

} // namespace platform
