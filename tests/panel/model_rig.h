#pragma once
// The panel's model wired to fakes, with no window: a recording port behind
// the real port monitor, a counting beeper and a hand-set clock.

#include "fakes.h"
#include "panel/panel_model.h"
#include "platform/port_monitor.h"

#include <sstream>

struct ModelRig {
    fakes::Journal journal;
    fakes::RecordingPort port{&journal};
    std::ostringstream portLog;
    platform::PortMonitor monitor{port, portLog};
    fakes::CountingBeeper beeper{&journal};
    fakes::ManualClock clock;
    panel::PanelModel model{{.port = monitor, .beeper = beeper, .clock = clock}};

    ModelRig() {
        clock.setTime(17, 59, 58, 1);
        monitor.setListener([this](const core::PortStatus& s) { model.showPortStatus(s); });
    }
};
