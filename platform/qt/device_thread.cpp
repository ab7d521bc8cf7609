#include "device_thread.h"

#include <QThread>
#include <QTimer>

#include <exception>
#include <vector>

namespace platform {

DeviceThread::DeviceThread(std::unique_ptr<core::PortOutput> backend, std::string device,
                           QObject* parent)
    : QObject(parent), shared_(std::make_shared<Shared>()), device_(std::move(device)),
      deadline_(new QTimer(this)) {
    shared_->backend = std::move(backend);
    shared_->owner = this;
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, &DeviceThread::overdue);
    thread_ = QThread::create([shared = shared_] { loop(shared); });
    thread_->setObjectName("relay board");
    thread_->start();
}

DeviceThread::~DeviceThread() {
    if (!thread_->isFinished() && !abandoned_)
        finish();
    if (abandoned_) {
        const std::lock_guard lock(shared_->mutex);
        shared_->owner = nullptr;
        // It owns what it uses, and ends after the device: left to run, as
        // the program ends, and kept where the end finds it (a QThread may
        // not be destroyed while it runs).
        static auto* const leftBehind = new std::vector<QThread*>;
        leftBehind->push_back(thread_);
        return;
    }
    delete thread_;
}

core::PortStatus DeviceThread::notAnswering(const std::string& device) {
    return core::PortStatus::failure(device, "not answering",
                                     "The relay board did not answer within a second: check its "
                                     "cable and power. The panel writes again once it answers.");
}

core::PortStatus DeviceThread::PortOut(std::uint16_t port, std::uint8_t value) {
    const std::uint64_t id = ++submitted_;
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->stuck)
            shared_->queue.clear(); // overtaken: only the newest state waits
        shared_->queue.push_back(Job{port, value, id});
    }
    shared_->wake.notify_one();
    waiting_.emplace_back(id, std::chrono::steady_clock::now() + Deadline);
    armDeadline();
    return core::PortStatus::success(device_);
}

void DeviceThread::loop(std::shared_ptr<Shared> shared) {
    Shared& s = *shared;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&s] { return !s.queue.empty() || s.ending; });
        if (s.queue.empty())
            break;
        const Job job = s.queue.front();
        s.queue.pop_front();
        lock.unlock();
        core::PortStatus status;
        std::exception_ptr thrown;
        try {
            status = s.backend->PortOut(job.port, job.value);
        } catch (...) {
            thrown = std::current_exception();
            status = core::PortStatus::failure({}, "the relay board's driver failed", {});
        }
        lock.lock();
        if (DeviceThread* owner = s.owner; owner && thrown)
            QMetaObject::invokeMethod(
                owner, [thrown] { std::rethrow_exception(thrown); }, Qt::QueuedConnection);
        s.stuck = false;
        s.finished = job.id;
        s.finishedStatus = status;
        s.done.notify_all();
        if (DeviceThread* owner = s.owner)
            QMetaObject::invokeMethod(
                owner, [owner, id = job.id, status] { owner->completed(id, status); },
                Qt::QueuedConnection);
    }
    lock.unlock();
    s.backend.reset(); // the device closes on the thread that used it
    lock.lock();
    s.ended = true;
    s.done.notify_all();
}

void DeviceThread::completed(std::uint64_t id, core::PortStatus status) {
    if (status.device.empty())
        status.device = device_; // a status the thread made itself
    device_ = status.device;
    stalled_ = false;
    if (observer_)
        observer_(status);
    answer(id, status);
}

void DeviceThread::answer(std::uint64_t upTo, const core::PortStatus& status) {
    if (upTo <= answered_)
        return;
    answered_ = upTo;
    while (!waiting_.empty() && waiting_.front().first <= upTo)
        waiting_.pop_front();
    armDeadline();
    emit answered(upTo, status);
}

void DeviceThread::armDeadline() {
    if (waiting_.empty()) {
        deadline_->stop();
        return;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        waiting_.front().second - std::chrono::steady_clock::now());
    deadline_->start(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

void DeviceThread::overdue() {
    const auto now = std::chrono::steady_clock::now();
    std::uint64_t late = 0;
    for (const auto& [id, due] : waiting_)
        if (due <= now)
            late = id;
    if (late == 0)
        return armDeadline();
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stuck = true;
        while (shared_->queue.size() > 1)
            shared_->queue.pop_front();
    }
    const core::PortStatus status = notAnswering(device_);
    if (observer_ && !stalled_)
        observer_(status);
    stalled_ = true;
    answer(late, status);
}

std::optional<core::PortStatus> DeviceThread::finish() {
    Shared& s = *shared_;
    std::unique_lock lock(s.mutex);
    s.ending = true;
    s.wake.notify_one();
    const bool confirmed = s.done.wait_for(
        lock, Deadline, [&] { return s.finished == submitted_ && s.queue.empty(); });
    const bool closed = confirmed && s.done.wait_for(lock, Deadline, [&s] { return s.ended; });
    std::optional<core::PortStatus> last;
    if (confirmed)
        last = submitted_ ? s.finishedStatus : core::PortStatus::success(device_);
    lock.unlock();
    if (closed)
        thread_->wait();
    else
        abandoned_ = true;
    return last;
}

} // namespace platform
