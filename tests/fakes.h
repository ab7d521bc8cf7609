#pragma once
// Hand-set stand-ins for the world outside the program, shared by the tests.
// Port writes, beeps and face changes go to one journal so that tests can
// check the order in which a handler does things.

#include "core/beeper.h"
#include "core/clock.h"
#include "core/port_output.h"
#include "core/switchboard.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace fakes {

using Journal = std::vector<std::string>;

class RecordingPort : public core::PortOutput {
  public:
    explicit RecordingPort(Journal* journal = nullptr) : journal_(journal) {}
    core::PortStatus PortOut(std::uint16_t port, std::uint8_t value) override {
        writes.push_back({port, value});
        if (journal_)
            journal_->push_back("out " + std::to_string(value));
        return failing ? core::PortStatus::failure("/dev/fake", "No such device", "Plug it in.")
                       : core::PortStatus::success("/dev/fake");
    }
    std::vector<int> values() const {
        std::vector<int> v;
        for (const auto& w : writes)
            v.push_back(w.value);
        return v;
    }
    struct Write {
        std::uint16_t port;
        std::uint8_t value;
    };
    std::vector<Write> writes;
    bool failing = false;

  private:
    Journal* journal_;
};

class CountingBeeper : public core::Beeper {
  public:
    explicit CountingBeeper(Journal* journal = nullptr) : journal_(journal) {}
    void beep() override {
        ++count;
        if (journal_)
            journal_->push_back("beep");
    }
    int count = 0;

  private:
    Journal* journal_;
};

class ManualClock : public core::Clock {
  public:
    std::int64_t localMsecs() const override { return now; }
    // Sets the clock to a time of day on an arbitrary fixed day.
    void setTime(int h, int m, int s, int ms = 0) {
        now = day + ((h * 60 + m) * 60 + s) * 1000LL + ms;
    }
    void advance(std::int64_t ms) { now += ms; }
    static constexpr std::int64_t day = 20000LL * 86400 * 1000;
    std::int64_t now = day;
};

class RecordingFaces : public core::ChannelFaces {
  public:
    explicit RecordingFaces(Journal* journal = nullptr) : journal_(journal) {}
    void setOnFaceVisible(int channel, bool visible) override {
        on[channel] = visible;
        log("on", channel, visible);
    }
    void setOffFaceVisible(int channel, bool visible) override {
        off[channel] = visible;
        log("off", channel, visible);
    }
    bool on[5] = {false, true, true, true, true};
    bool off[5] = {false, false, false, false, false};

  private:
    void log(const char* which, int channel, bool visible) {
        if (journal_)
            journal_->push_back(std::string(visible ? "show " : "hide ") + which +
                                std::to_string(channel));
    }
    Journal* journal_;
};

// A board whose writes can be held: while held, a write does not return
// until the test releases it. Written from the device's thread, read from
// the test's.
class HeldPort : public core::PortOutput {
  public:
    core::PortStatus PortOut(std::uint16_t, std::uint8_t value) override {
        std::unique_lock lock(mutex_);
        ++inside_;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !held_; });
        --inside_;
        values_.push_back(value);
        return core::PortStatus::success("/dev/held");
    }
    void hold() {
        const std::lock_guard lock(mutex_);
        held_ = true;
    }
    void release() {
        const std::lock_guard lock(mutex_);
        held_ = false;
        changed_.notify_all();
    }
    bool inside() {
        const std::lock_guard lock(mutex_);
        return inside_ > 0;
    }
    std::vector<int> values() {
        const std::lock_guard lock(mutex_);
        return values_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    int inside_ = 0;
    std::vector<int> values_;
};

} // namespace fakes
