#pragma once
// The panel's model wired to fakes, with no window: a recording port behind
// the real port monitor, a counting beeper and a hand-set clock. Given a
// board of its own, the model writes to that board on a device thread
// instead, and the monitor hears its outcomes.

#include "fakes.h"
#include "panel/panel_model.h"
#include "platform/port_monitor.h"
#include "platform/qt/device_thread.h"

#include <memory>
#include <sstream>

struct ModelRig {
    fakes::Journal journal;
    fakes::RecordingPort port{&journal};
    std::ostringstream portLog;
    platform::PortMonitor monitor{port, portLog};
    fakes::CountingBeeper beeper{&journal};
    fakes::ManualClock clock;
    std::unique_ptr<platform::DeviceThread> device;
    panel::PanelModel model;

    explicit ModelRig(std::unique_ptr<core::PortOutput> threadedBoard = nullptr)
        : device(threadedBoard ? std::make_unique<platform::DeviceThread>(std::move(threadedBoard),
                                                                          "stand-in")
                               : nullptr),
          model({.port = device ? static_cast<core::PortOutput&>(*device) : monitor,
                 .beeper = beeper,
                 .clock = clock,
                 .device = device.get()}) {
        clock.setTime(17, 59, 58, 1);
        if (device)
            device->setObserver([this](const core::PortStatus& s) { monitor.observe(s); });
        monitor.setListener([this](const core::PortStatus& s) { model.showPortStatus(s); });
    }
};
