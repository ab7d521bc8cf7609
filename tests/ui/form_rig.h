#pragma once
// A Form1 wired to fakes: a recording port behind the real port monitor, a
// counting beeper, a hand-set clock, plain secondary windows, and an "end
// program" that only counts.

#include "fakes.h"
#include "panel/panel_model.h"
#include "platform/port_monitor.h"
#include "ui/form1.h"
#include "ui/port_indicator.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>
#include <sstream>

struct FormRig {
    fakes::Journal journal;
    fakes::RecordingPort port{&journal};
    std::ostringstream portLog;
    platform::PortMonitor monitor{port, portLog};
    fakes::CountingBeeper beeper{&journal};
    fakes::ManualClock clock;
    int ended = 0;
    int windowsMade = 0;
    panel::PanelModel model{{.port = monitor, .beeper = beeper, .clock = clock}};
    std::unique_ptr<ui::Form1> form;

    FormRig() {
        clock.setTime(17, 59, 58, 1);
        auto window = [this](const char* name) {
            return [this, name] {
                ++windowsMade;
                auto* w = new QWidget(nullptr, Qt::Dialog);
                w->setObjectName(name);
                w->resize(200, 100);
                return w;
            };
        };
        form = std::make_unique<ui::Form1>(ui::Form1::Services{
            .model = model,
            .clock = clock,
            .endProgram = [this] { ++ended; },
            .guide = window("frmOG"),
            .wiring = window("frmWiring"),
            .about = window("frmAbout"),
        });
        monitor.setListener([this](const core::PortStatus& s) { model.showPortStatus(s); });
    }
    ui::Form1& f() { return *form; }
    void show() {
        form->showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void click(int command) { QTest::mouseClick(form->Command(command), Qt::LeftButton); }
    void key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(form.get(), key, mods);
    }
    // Which of channel n's two faces shows: true for the OFF face (channel on).
    bool shownOn(int channel) const { return !form->Command(channel + 4)->isHidden(); }
};
