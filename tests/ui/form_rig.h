#pragma once
// A Form1 on the model's rig: plain secondary windows, and an "end program"
// that only counts.

#include "panel/model_rig.h"
#include "ui/form1.h"
#include "ui/port_indicator.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

struct FormRig : ModelRig {
    int ended = 0;
    int windowsMade = 0;
    std::unique_ptr<ui::Form1> form;

    explicit FormRig(std::unique_ptr<core::PortOutput> threadedBoard = nullptr)
        : ModelRig(std::move(threadedBoard)) {
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
