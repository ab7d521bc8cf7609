// A long seeded random run through the real widgets, checked after every step
// against a reference model of what the panel must do. The model is written
// from the panel's rules alone; it never asks the code under test what should
// happen. Each step is one user-level action (a click on what is visible, a
// shortcut, a menu item, typing, a check box set by click or Space), a step
// of the hand-set clock followed by the row timers' ticks, or the relay port
// failing, coming back or being retried.
//
// The form's own timers keep running. Every clock step ticks each armed row
// at once, so whenever the event loop can run every armed row has already
// looked at the current time; a real tick then only repeats a look at an
// unchanged clock, which fires nothing that the end-of-step ticks would not
// fire too. The retry timer is pushed out of reach and driven by hand.
//
// Replay a failure with KAVO_MODEL_SEED and KAVO_MODEL_STEPS.

#include "form_rig.h"
#include "ui/shaped/shaped_form.h"

#include <QAction>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <map>
#include <vector>

namespace {

using Ms = std::int64_t;
constexpr Ms SecondMs = 1000;
constexpr Ms DaySeconds = 86400;
constexpr Ms DayMs = DaySeconds * SecondMs;

constexpr quint32 DefaultSeed = 20261209;
constexpr int DefaultSteps = 100000;

Ms floorDiv(Ms a, Ms b) {
    return a / b - ((a % b != 0 && (a < 0) != (b < 0)) ? 1 : 0);
}
Ms ceilDiv(Ms a, Ms b) {
    return -floorDiv(-a, b);
}
Ms floorMod(Ms a, Ms b) {
    return a - floorDiv(a, b) * b;
}

QString clockTextAt(Ms t) {
    const Ms s = floorMod(floorDiv(t, SecondMs), DaySeconds);
    return QString::asprintf("%02d:%02d:%02d", int(s / 3600), int(s / 60 % 60), int(s % 60));
}

// The second of the day an "HH:MM:SS" text names, or -1 for any other text.
int secondNamed(const QString& text) {
    static const QRegularExpression clock(
        QRegularExpression::anchoredPattern("([01][0-9]|2[0-3]):([0-5][0-9]):([0-5][0-9])"));
    const QRegularExpressionMatch m = clock.match(text);
    if (!m.hasMatch())
        return -1;
    return m.captured(1).toInt() * 3600 + m.captured(2).toInt() * 60 + m.captured(3).toInt();
}

// ---- the reference model ------------------------------------------------

class PanelModel {
  public:
    static constexpr int Channels = 4;
    static constexpr int Buttons = 10; // Command9..Command18
    enum Button {
        Exit,
        Minimise,
        About,
        TimerMode,
        SimpleMode,
        AllOn,
        AllOff,
        Wiring,
        Guide,
        Plain
    };
    static constexpr std::array<bool, Buttons> StartButtons{true, true,  true, true, false,
                                                            true, false, true, true, true};
    static constexpr std::array<int, Channels> Intervals{10, 100, 500, 1000};
    static inline const QString IdleText = "hh:mm:ss";

    struct Row {
        bool armed = false;
        QString text = IdleText;
        Ms since = 0; // when the row was armed or last looked at the clock
    };

    std::int16_t portValue = 0;
    std::array<std::int16_t, Channels> channelOff{-1, -1, -1, -1};
    std::array<bool, Channels> offFace{}; // the OFF face shows: the channel is on
    std::array<bool, Buttons> buttons = StartButtons;
    bool panelShown = false;
    std::array<Row, Channels> rows{};
    int holder = 1; // the picture holder whose picture the window wears
    bool shaped = true;
    QColor background{255, 128, 0};
    bool portFails = false;          // the stand-in port refuses writes
    bool lastWriteFailed = false;    // so the warning shows and retries run
    QStringList logLines;            // what the port monitor must print, since the last check
    fakes::Journal journal{"out 0"}; // the start-up write
    Ms now = 0;

    Row& row(int n) { return rows[std::size_t(n - 1)]; }

    void beep() { journal.push_back("beep"); }
    void writeOutput() {
        if (portValue < 0 || portValue > 255)
            return;
        journal.push_back("out " + std::to_string(portValue));
        if (portFails != lastWriteFailed)
            logLines << (portFails ? "fails" : "works again");
        lastWriteFailed = portFails;
    }
    void change(int delta) {
        const int result = portValue + delta;
        if (result >= std::numeric_limits<std::int16_t>::min() &&
            result <= std::numeric_limits<std::int16_t>::max())
            portValue = std::int16_t(result);
    }
    static int weight(int n) { return 1 << (n - 1); }
    void invert(int n) { channelOff[std::size_t(n - 1)] = std::int16_t(~channelOff[n - 1]); }

    void switchOn(int n) {
        beep();
        change(weight(n));
        writeOutput();
        invert(n);
        offFace[std::size_t(n - 1)] = true;
    }
    void switchOff(int n) {
        beep();
        change(-weight(n));
        writeOutput();
        invert(n);
        offFace[std::size_t(n - 1)] = false;
    }
    void allTo(bool on) {
        beep();
        portValue = on ? 15 : 0;
        writeOutput();
        channelOff.fill(on ? 0 : -1);
        offFace.fill(on);
    }
    void allButton(bool on) {
        allTo(on);
        buttons[AllOff] = on;
        buttons[AllOn] = !on;
    }
    void modeButton(bool timerMode) {
        panelShown = timerMode;
        buttons[SimpleMode] = timerMode;
        buttons[TimerMode] = !timerMode;
    }
    void skin(int pictureHolder, bool lily) {
        if (lily)
            background = QColor(255, 192, 128);
        buttons = StartButtons;
        holder = pictureHolder;
        shaped = true;
    }
    void plain() {
        shaped = false;
        holder = 8;
        buttons.fill(false);
    }

    // The check box of row n changes its value by the user's hand.
    enum class Arming { Armed, Refused, Disarmed };
    Arming toggleCheck(int n) {
        Row& r = row(n);
        if (r.armed) {
            disarm(n);
            return Arming::Disarmed;
        }
        if (secondNamed(r.text) < 0) {
            beep();
            return Arming::Refused;
        }
        r.armed = true;
        r.since = now;
        return Arming::Armed;
    }
    void disarm(int n) {
        Row& r = row(n);
        r.armed = false;
        r.text = IdleText;
    }

    // Whether a row armed for `second` o'clock fires on a tick at `to` after
    // its previous look at `from`: its second came between the two, counting
    // the earlier second; after a step back only the new second counts.
    static bool comesDue(int second, Ms from, Ms to) {
        const Ms last = floorDiv(to, SecondMs);
        const Ms first = std::min(floorDiv(from, SecondMs), last);
        const Ms nextDay = ceilDiv(first - second, DaySeconds);
        return nextDay * DaySeconds + second <= last;
    }

    // Row n's timer ticks; true if the row fired.
    bool tick(int n) {
        Row& r = row(n);
        if (!r.armed)
            return false;
        const Ms from = r.since;
        r.since = now;
        if (!comesDue(secondNamed(r.text), from, now))
            return false;
        if (channelOff[std::size_t(n - 1)] != 0)
            change(weight(n));
        else
            change(-weight(n));
        writeOutput();
        offFace[std::size_t(n - 1)] = channelOff[std::size_t(n - 1)] != 0;
        invert(n);
        disarm(n);
        return true;
    }

    void retry() {
        if (lastWriteFailed)
            writeOutput();
    }
    void exit() {
        portValue = 0;
        writeOutput();
    }
};

// The skins: menu item, holder, picture size.
struct SkinItem {
    const char* item;
    int holder;
    QSize size;
};
const std::array<SkinItem, 8> Skins{{
    {"Sl", 3, {297, 479}},
    {"lg", 6, {296, 482}},
    {"CA", 8, {294, 480}},
    {"An", 9, {296, 482}},
    {"sb", 7, {295, 481}},
    {"gl", 2, {299, 480}},
    {"Li", 1, {296, 479}},
    {"Bl", 4, {295, 481}},
}};
QSize pictureSize(int holder) {
    for (const SkinItem& s : Skins)
        if (s.holder == holder)
            return s.size;
    return {};
}

const QStringList NeverClockTexts{"hh:mm:ss", "",          "6:00:00",  "25:00:00", " 18:00:00 ",
                                  "18:00:60", "24:00:00",  "18-00-00", "18:00:0",  "18:00:000",
                                  "ab:cd:ef", "18:00:00 ", "1:2:3",    "18:0:00"};

// Every pixel of `picture` that is not pure white: the window's outline.
QRegion outlineOf(const QImage& picture) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QRegion region;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            if ((line[x] & 0xffffffu) == 0xffffffu) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < rgb.width() && (line[x] & 0xffffffu) != 0xffffffu)
                ++x;
            region += QRect(start, y, x - start, 1);
        }
    }
    return region;
}

struct Stats {
    int steps = 0, armed = 0, refused = 0, disarmed = 0, fired = 0, firedAcrossMidnight = 0,
        retriesDelivered = 0, failedWrites = 0, skins = 0, plain = 0;
};

// ---- the run ------------------------------------------------------------

class ModelRun {
  public:
    ModelRun(FormRig& rig, quint32 seed) : rig_(rig), f_(rig.f()), seed_(seed), random_(seed) {
        retry_ = rig.model.findChild<QTimer*>("PortRetry");
        // Retries are driven by hand; the watch keeps this interval when it
        // restarts the timer.
        retry_->setInterval(std::numeric_limits<int>::max());
        model_.now = rig_.clock.now;
        for (PanelModel::Row& r : model_.rows)
            r.since = model_.now;
        for (const char* name : {"TM", "SM", "EMAO", "EMAOF", "x"})
            actions_[name] = f_.findChild<QAction*>(name);
        for (const SkinItem& s : Skins)
            actions_[s.item] = f_.findChild<QAction*>(s.item);
    }

    const Stats& stats() const { return stats_; }

    // One step and its check; false with report() filled on a mismatch.
    bool step(int index) {
        step_ = index;
        QString done;
        routed_ = false;
        while (done.isEmpty())
            done = act();
        if (routed_)
            done += " (through the window)";
        settle();
        remember(done);
        ++stats_.steps;
        const QStringList wrong = mismatches();
        if (!wrong.isEmpty()) {
            report_ = failureReport(wrong);
            return false;
        }
        return true;
    }

    // The exit button (or the menu's Exit once the buttons are gone).
    bool exitAtTheEnd(int index) {
        step_ = index;
        if (model_.buttons[PanelModel::Exit]) {
            click(f_.Command(9));
            remember("click X");
        } else {
            actions_.at("x")->trigger();
            remember("menu Exit");
        }
        model_.exit();
        QStringList wrong = mismatches();
        if (rig_.ended != 1)
            wrong << QString("the program was ended %1 times, expected once").arg(rig_.ended);
        if (!wrong.isEmpty()) {
            report_ = failureReport(wrong);
            return false;
        }
        return true;
    }

    const QString& report() const { return report_; }

    // Every way the panel differs from the model, one line each.
    QStringList mismatches() {
        QStringList wrong = std::move(problems_);
        problems_.clear();
        // The message is only made for a mismatch.
        auto expect = [&wrong](bool ok, const auto& what) {
            if (!ok)
                wrong << what();
        };
        auto shown = [](const QWidget* w) { return !w->isHidden(); };
        auto yesNo = [](bool b) { return QString(b ? "yes" : "no"); };

        // The journal of writes and beeps, in order; the part before the
        // last check was already found equal.
        const fakes::Journal& got = rig_.journal;
        const fakes::Journal& want = model_.journal;
        if (got.size() != want.size() ||
            !std::equal(want.begin() + long(checkedJournal_), want.end(),
                        got.begin() + long(checkedJournal_))) {
            wrong << QString("journal since the last step: got [%1], expected [%2]")
                         .arg(joined(got, checkedJournal_), joined(want, checkedJournal_));
        }
        checkedJournal_ = std::min(got.size(), want.size());
        for (; checkedWrites_ < rig_.port.writes.size(); ++checkedWrites_)
            expect(rig_.port.writes[checkedWrites_].port == 888, [&] {
                return QString("a write went to port %1")
                    .arg(rig_.port.writes[checkedWrites_].port);
            });

        const core::OutputRegister& reg = f_.outputRegister();
        expect(reg.PortValue() == model_.portValue, [&] {
            return QString("PortValue %1, expected %2").arg(reg.PortValue()).arg(model_.portValue);
        });
        for (int n = 1; n <= PanelModel::Channels; ++n) {
            const auto i = std::size_t(n - 1);
            expect(reg.ChannelOff(n) == model_.channelOff[i], [&] {
                return QString("ChannelOff(%1) %2, expected %3")
                    .arg(n)
                    .arg(reg.ChannelOff(n))
                    .arg(model_.channelOff[i]);
            });
            expect(shown(f_.Command(n)) == !model_.offFace[i], [&] {
                return QString("Command%1 (ON face) shown: %2")
                    .arg(n)
                    .arg(yesNo(shown(f_.Command(n))));
            });
            expect(shown(f_.Command(n + 4)) == model_.offFace[i], [&] {
                return QString("Command%1 (OFF face) shown: %2")
                    .arg(n + 4)
                    .arg(yesNo(shown(f_.Command(n + 4))));
            });
        }
        for (int b = 0; b < PanelModel::Buttons; ++b)
            expect(shown(f_.Command(9 + b)) == model_.buttons[std::size_t(b)], [&] {
                return QString("Command%1 shown: %2, expected %3")
                    .arg(9 + b)
                    .arg(yesNo(shown(f_.Command(9 + b))), yesNo(model_.buttons[std::size_t(b)]));
            });

        expect(shown(f_.Label1) == model_.panelShown, [&] {
            return QString("timer panel hint shown: %1, expected %2")
                .arg(yesNo(shown(f_.Label1)), yesNo(model_.panelShown));
        });
        for (int n = 1; n <= PanelModel::Channels; ++n) {
            const PanelModel::Row& r = model_.row(n);
            QCheckBox* check = f_.Check(n);
            QLineEdit* text = f_.Text(n);
            QTimer* timer = f_.Timer(n + 1);
            expect(shown(check) == model_.panelShown && shown(text) == model_.panelShown, [&] {
                return QString("row %1 shown: %2/%3, expected %4")
                    .arg(n)
                    .arg(yesNo(shown(check)), yesNo(shown(text)), yesNo(model_.panelShown));
            });
            expect(check->checkState() == (r.armed ? Qt::Checked : Qt::Unchecked), [&] {
                return QString("Check%1 state %2, expected %3")
                    .arg(n)
                    .arg(int(check->checkState()))
                    .arg(r.armed ? 2 : 0);
            });
            expect(text->text() == r.text, [&] {
                return QString("Text%1 reads \"%2\", expected \"%3\"")
                    .arg(n)
                    .arg(text->text(), r.text);
            });
            expect(text->isReadOnly() == r.armed, [&] {
                return QString("Text%1 locked: %2").arg(n).arg(yesNo(text->isReadOnly()));
            });
            const QColor base = text->palette().color(QPalette::Base);
            const QColor wantBase = r.armed ? QColor(0, 255, 0) : QColor(255, 0, 0);
            expect(base == wantBase, [&] {
                return QString("Text%1 colour %2, expected %3")
                    .arg(n)
                    .arg(base.name(), wantBase.name());
            });
            expect(timer->isActive() == r.armed, [&] {
                return QString("Timer%1 running: %2").arg(n + 1).arg(yesNo(timer->isActive()));
            });
            expect(timer->interval() == PanelModel::Intervals[std::size_t(n - 1)], [&] {
                return QString("Timer%1 interval %2").arg(n + 1).arg(timer->interval());
            });
        }

        expect(shown(f_.portIndicator) == model_.lastWriteFailed, [&] {
            return QString("port warning shown: %1, expected %2")
                .arg(yesNo(shown(f_.portIndicator)), yesNo(model_.lastWriteFailed));
        });
        // The reason and the fix while writes fail, nothing otherwise.
        const QString tip = f_.portIndicator->toolTip();
        const bool tells = tip.contains("No such device") && tip.contains("Plug it in.");
        expect(model_.lastWriteFailed ? tells : tip.isEmpty(),
               [&] { return QString("port warning tooltip \"%1\"").arg(tip); });
        expect(retry_->isActive() == model_.lastWriteFailed,
               [&] { return QString("retry timer running: %1").arg(yesNo(retry_->isActive())); });
        QStringList logged = QString::fromStdString(rig_.portLog.str()).split('\n');
        logged.removeAll(QString());
        rig_.portLog.str("");
        bool logOk = logged.size() == model_.logLines.size();
        for (qsizetype i = 0; logOk && i < logged.size(); ++i)
            logOk =
                logged[i].startsWith("kavo-panel: ") &&
                logged[i].contains(model_.logLines[i] == "fails" ? "Cannot write" : "work again");
        expect(logOk, [&] {
            return QString("port log [%1], expected [%2]")
                .arg(logged.join(" | "), model_.logLines.join(" | "));
        });
        model_.logLines.clear();

        const QImage& picture = f_.picture();
        const QImage& held = f_.Picture(model_.holder)->picture();
        expect(picture.cacheKey() == held.cacheKey() || picture == held,
               [&] { return QString("the window does not wear Picture%1").arg(model_.holder); });
        expect(picture.size() == pictureSize(model_.holder), [&] {
            return QString("picture size %1x%2").arg(picture.width()).arg(picture.height());
        });
        const QRegion mask = f_.mask();
        expect(f_.shapedForm().isShaped() == model_.shaped && mask.isEmpty() == !model_.shaped,
               [&] {
                   return QString("window cut: %1 (mask %2), expected %3")
                       .arg(yesNo(f_.shapedForm().isShaped()), mask.isEmpty() ? "empty" : "set",
                            yesNo(model_.shaped));
               });
        if (model_.shaped && (model_.holder != checkedHolder_ || !(mask == checkedMask_))) {
            // A new cut: it has to follow the outline of the picture now worn.
            auto outline = outlines_.find(model_.holder);
            if (outline == outlines_.end())
                outline = outlines_.emplace(model_.holder, outlineOf(held)).first;
            expect((mask ^ outline->second).isEmpty(), [&] {
                return QString("the window is not cut to the outline of Picture%1")
                    .arg(model_.holder);
            });
            checkedMask_ = mask;
            checkedHolder_ = model_.holder;
        }
        const QColor back = f_.backColour();
        expect(back == model_.background, [&] {
            return QString("background %1, expected %2").arg(back.name(), model_.background.name());
        });
        return wrong;
    }

  private:
    int pick(int from, int to) { return int(random_.bounded(from, to + 1)); }
    bool chance(int percent) { return int(random_.bounded(100)) < percent; }

    // A click at the centre of `w`, which has to be what the user sees
    // there. Now and then it goes through the window, which routes it to
    // whatever lies on top and then runs the event loop (real ticks
    // included); otherwise straight to the control, which is much cheaper.
    void click(QWidget* w) {
        const QPoint at = w->geometry().center();
        if (f_.childAt(at) != w)
            problems_ << QString("%1 is covered at its centre by %2")
                             .arg(w->objectName(),
                                  f_.childAt(at) ? f_.childAt(at)->objectName() : "nothing");
        if (model_.shaped && !f_.mask().contains(at))
            problems_ << QString("%1 lies outside the window's outline").arg(w->objectName());
        routed_ = chance(8);
        if (routed_)
            QTest::mouseClick(f_.windowHandle(), Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(w, Qt::LeftButton, {}, w->mapFrom(&f_, at));
    }
    // Keys go where the user's focus is.
    QWidget* focused() {
        QWidget* w = QApplication::focusWidget();
        return w && w->window() == &f_ ? w : &f_;
    }
    void shortcut(Qt::Key key) { QTest::keyClick(focused(), key, Qt::ControlModifier); }

    // Every armed row's timer ticks once, in a random order.
    void tickRows() {
        static constexpr std::array<void (ui::Form1::*)(), PanelModel::Channels> ticks{
            &ui::Form1::Timer2_Timer, &ui::Form1::Timer3_Timer, &ui::Form1::Timer4_Timer,
            &ui::Form1::Timer5_Timer};
        std::array<int, PanelModel::Channels> order{1, 2, 3, 4};
        std::shuffle(order.begin(), order.end(), random_);
        for (int n : order) {
            // A real tick may have fired the row already; the model still
            // takes its turn, and the check compares the outcome.
            if (f_.Timer(n + 1)->isActive())
                (f_.*ticks[std::size_t(n - 1)])();
            if (model_.tick(n))
                ++stats_.fired;
        }
    }
    void setClock(Ms t) {
        model_.now = t;
        rig_.clock.now = t;
        tickRows();
    }
    // Every step ends with a tick of each armed row, so a row armed for the
    // current second fires within its step, whether a real tick came first
    // or not.
    void settle() { tickRows(); }

    // A text for a row: mostly a time that comes soon, or now, or one
    // around midnight.
    QString someTime() {
        switch (pick(0, 9)) {
        case 0:
        case 1:
            return clockTextAt(model_.now);
        case 2:
        case 3:
        case 4:
            return clockTextAt(model_.now + pick(1, 6) * SecondMs);
        case 5:
            return clockTextAt(model_.now + pick(-120, 900) * SecondMs);
        case 6:
            if (chance(50)) // just before or after midnight
                return clockTextAt(Ms(pick(-3, 3)) * SecondMs);
            return clockTextAt(model_.now + Ms(pick(0, int(DaySeconds) - 1)) * SecondMs);
        default:
            return NeverClockTexts[pick(0, int(NeverClockTexts.size()) - 1)];
        }
    }

    QString clickFace() {
        const int n = pick(1, 4);
        const bool on = model_.offFace[std::size_t(n - 1)];
        click(f_.Command(on ? n + 4 : n));
        on ? model_.switchOff(n) : model_.switchOn(n);
        return QString("click Command%1").arg(on ? n + 4 : n);
    }
    QString clickAllButton() {
        const bool allOn = model_.buttons[PanelModel::AllOn];
        if (!allOn && !model_.buttons[PanelModel::AllOff])
            return {};
        click(f_.Command(allOn ? 14 : 15));
        model_.allButton(allOn);
        return allOn ? "click All On" : "click All Off";
    }
    QString emergency() {
        const bool on = chance(50);
        if (chance(60)) {
            const QString to = focused()->objectName();
            shortcut(on ? Qt::Key_A : Qt::Key_O);
            model_.allTo(on);
            return QString("Ctrl+%1 to %2").arg(on ? 'A' : 'O').arg(to);
        }
        actions_.at(on ? "EMAO" : "EMAOF")->trigger();
        model_.allTo(on);
        return on ? "menu ALL ON" : "menu ALL OFF";
    }
    QString clickModeButton() {
        const bool timer = model_.buttons[PanelModel::TimerMode];
        if (!timer && !model_.buttons[PanelModel::SimpleMode])
            return {};
        click(f_.Command(timer ? 12 : 13));
        model_.modeButton(timer);
        return timer ? "click Timer Mode" : "click Simple Mode";
    }
    QString modeMenu() {
        const bool show = chance(50);
        model_.panelShown = show;
        if (chance(60)) {
            const QString to = focused()->objectName();
            shortcut(show ? Qt::Key_T : Qt::Key_S);
            return QString("Ctrl+%1 to %2").arg(show ? 'T' : 'S').arg(to);
        }
        actions_.at(show ? "TM" : "SM")->trigger();
        return show ? "menu Timer Mode" : "menu Simple Mode";
    }
    QString chooseSkin() {
        const SkinItem& s = Skins[std::size_t(pick(0, int(Skins.size()) - 1))];
        actions_.at(s.item)->trigger();
        model_.skin(s.holder, QString(s.item) == "Li");
        ++stats_.skins;
        return QString("skin %1").arg(s.item);
    }
    QString plainView() {
        if (!model_.buttons[PanelModel::Plain])
            return {};
        click(f_.Command(18));
        model_.plain();
        ++stats_.plain;
        return "click X&P";
    }

    QString typeText() {
        if (!model_.panelShown)
            return {};
        const int n = pick(1, 4);
        QLineEdit* text = f_.Text(n);
        PanelModel::Row& r = model_.row(n);
        click(text);
        QString edited = r.text;
        QString what;
        switch (pick(0, 5)) {
        case 0: { // add a character at the end
            const QString c(QChar(":0123456789 ahx"[pick(0, 14)]));
            QTest::keyClick(text, Qt::Key_End);
            QTest::keyClicks(text, c);
            edited += c;
            what = "append \"" + c + "\"";
            break;
        }
        case 1:
            QTest::keyClick(text, Qt::Key_End);
            QTest::keyClick(text, Qt::Key_Backspace);
            edited.chop(1);
            what = "backspace";
            break;
        case 2:
            QTest::keyClick(text, Qt::Key_Home);
            QTest::keyClick(text, Qt::Key_Delete);
            edited.remove(0, 1);
            what = "delete the first character";
            break;
        default: { // select everything and type over it
            const QString typed = someTime();
            QTest::keyClick(text, Qt::Key_End);
            QTest::keyClick(text, Qt::Key_Home, Qt::ShiftModifier);
            if (typed.isEmpty())
                QTest::keyClick(text, Qt::Key_Backspace);
            else
                QTest::keyClicks(text, typed);
            edited = typed;
            what = "type \"" + typed + "\"";
        }
        }
        if (!r.armed) // an armed row is locked
            r.text = edited;
        return QString("Text%1: %2").arg(n).arg(what);
    }

    QString setCheck() {
        if (!model_.panelShown)
            return {};
        const int n = pick(1, 4);
        QCheckBox* check = f_.Check(n);
        QString how;
        if (chance(65)) {
            click(check);
            how = "click";
        } else {
            check->setFocus(Qt::TabFocusReason);
            QTest::keyClick(check, Qt::Key_Space);
            how = "Space on";
        }
        const QString text = model_.row(n).text;
        switch (model_.toggleCheck(n)) {
        case PanelModel::Arming::Armed:
            ++stats_.armed;
            return QString("%1 Check%2: arm \"%3\"").arg(how).arg(n).arg(text);
        case PanelModel::Arming::Refused:
            ++stats_.refused;
            return QString("%1 Check%2: refuse \"%3\"").arg(how).arg(n).arg(text);
        case PanelModel::Arming::Disarmed:
            ++stats_.disarmed;
            return QString("%1 Check%2: disarm").arg(how).arg(n);
        }
        return {};
    }

    // The second of an armed row, or -1 when none is armed.
    int someArmedSecond() {
        std::vector<int> seconds;
        for (const PanelModel::Row& r : model_.rows)
            if (r.armed)
                seconds.push_back(secondNamed(r.text));
        if (seconds.empty())
            return -1;
        return seconds[std::size_t(pick(0, int(seconds.size()) - 1))];
    }
    // The moment `ms` into the next (or the last) `second` o'clock.
    Ms occurrence(int second, Ms ms, bool next) {
        Ms at = floorDiv(model_.now, DayMs) * DayMs + second * SecondMs + ms;
        if (next && at < model_.now)
            at += DayMs;
        if (!next && at > model_.now)
            at -= DayMs;
        return at;
    }

    QString clockStep() {
        const Ms now = model_.now;
        const int armed = someArmedSecond();
        const int kind = pick(0, 99);
        QString what;
        if (kind < 40) {
            const Ms by = pick(1, 1500);
            setClock(now + by);
            what = QString("clock +%1 ms").arg(by);
        } else if (kind < 52) {
            const Ms by = pick(2, 6 * 3600) * SecondMs + pick(0, 999);
            setClock(now + by);
            what = QString("clock jumps forward %1 s").arg(by / SecondMs);
        } else if (kind < 62) {
            const Ms by = pick(1, 6 * 3600) * SecondMs + pick(0, 999);
            setClock(now - by);
            what = QString("clock jumps back %1 s").arg(by / SecondMs);
        } else if (kind < 74 && armed >= 0) {
            const Ms at = occurrence(armed, pick(0, 999), chance(60));
            setClock(at);
            what = "clock set onto an armed second " + clockTextAt(at);
        } else if (kind < 84 && armed >= 0) {
            // From before the armed second to after it: the step passes over it.
            const Ms at = occurrence(armed, 0, true);
            setClock(at - pick(1, 5) * SecondMs + pick(0, 999));
            setClock(at + pick(1, 5) * SecondMs + pick(0, 999));
            what = "clock passes over the armed second " + clockTextAt(at);
        } else if (kind < 90 && armed >= 0) {
            // From after it back to before it: nothing that passed comes again.
            const Ms at = occurrence(armed, 0, chance(50));
            setClock(at + pick(1, 5) * SecondMs + pick(0, 999));
            setClock(at - pick(1, 5) * SecondMs + pick(0, 999));
            what = "clock steps back over the armed second " + clockTextAt(at);
        } else if (kind < 97) {
            const Ms midnight = (floorDiv(now, DayMs) + 1) * DayMs;
            setClock(midnight - pick(1, 3) * SecondMs + pick(0, 999));
            const int before = stats_.fired;
            setClock(midnight + pick(0, 3) * SecondMs + pick(0, 999));
            stats_.firedAcrossMidnight += stats_.fired - before;
            what = "clock runs across midnight";
        } else {
            const Ms by = DayMs + pick(0, 3600) * SecondMs;
            setClock(now + by);
            what = "clock jumps forward more than a day";
        }
        // Sometimes a few more ticks follow close behind.
        while (chance(30))
            setClock(model_.now + pick(1, 400));
        return what + " to " + clockTextAt(model_.now);
    }

    QString portChange() {
        model_.portFails = !model_.portFails;
        rig_.port.failing = model_.portFails;
        return model_.portFails ? "the port starts failing" : "the port answers again";
    }
    QString retry() {
        const bool due = model_.lastWriteFailed;
        f_.portWatch().PortRetry_Timer();
        model_.retry();
        if (due && !model_.lastWriteFailed)
            ++stats_.retriesDelivered;
        return due ? "retry tick (a write is owed)" : "retry tick (nothing owed)";
    }
    QString idle() {
        QCoreApplication::processEvents();
        return "the event loop runs";
    }

    // One action; empty when the chosen one cannot be done now.
    QString act() {
        const std::size_t writesBefore = rig_.port.writes.size();
        const int roll = pick(0, 999);
        QString done;
        if (roll < 100)
            done = clickFace();
        else if (roll < 125)
            done = clickAllButton();
        else if (roll < 175)
            done = emergency();
        else if (roll < 205)
            done = clickModeButton();
        else if (roll < 245)
            done = modeMenu();
        else if (roll < 265)
            done = chooseSkin();
        else if (roll < 273)
            done = plainView();
        else if (roll < 440)
            done = typeText();
        else if (roll < 560)
            done = setCheck();
        else if (roll < 870)
            done = clockStep();
        else if (roll < 905)
            done = portChange();
        else if (roll < 975)
            done = retry();
        else
            done = idle();
        if (rig_.port.failing)
            stats_.failedWrites += int(rig_.port.writes.size() - writesBefore);
        return done;
    }

    void remember(const QString& done) {
        recent_.push_back(QString("step %1: %2").arg(step_).arg(done));
        if (recent_.size() > 12)
            recent_.pop_front();
    }
    static QString joined(const fakes::Journal& j, std::size_t from) {
        QStringList parts;
        for (std::size_t i = from; i < j.size(); ++i)
            parts << QString::fromStdString(j[i]);
        return parts.join(", ");
    }
    QString failureReport(const QStringList& wrong) const {
        QString text = QString("seed %1, step %2:\n  %3\nlast actions:\n  %4\nreplay with "
                               "KAVO_MODEL_SEED=%1 KAVO_MODEL_STEPS=%5")
                           .arg(seed_)
                           .arg(step_)
                           .arg(wrong.join("\n  "))
                           .arg(QStringList(recent_.begin(), recent_.end()).join("\n  "))
                           .arg(step_ + 1);
        return text;
    }

    FormRig& rig_;
    ui::Form1& f_;
    quint32 seed_;
    QRandomGenerator random_;
    PanelModel model_;
    QTimer* retry_ = nullptr;
    std::map<std::string, QAction*> actions_;
    std::map<int, QRegion> outlines_; // by picture holder
    QRegion checkedMask_;             // the last cut found right, and for which picture
    int checkedHolder_ = 0;
    bool routed_ = false; // the step's click went through the window
    std::deque<QString> recent_;
    QStringList problems_;
    std::size_t checkedJournal_ = 0;
    std::size_t checkedWrites_ = 0;
    int step_ = 0;
    QString report_;
    Stats stats_;
};

// The offscreen platform cannot cut windows and says so at every skin; that
// says nothing about the panel.
void quietMasks() {
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message != QLatin1String("This plugin does not support setting window masks"))
                previous(type, context, message);
        });
}

quint32 seedFromEnvironment() {
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("KAVO_MODEL_SEED").toUInt(&ok);
    return ok ? seed : DefaultSeed;
}
int stepsFromEnvironment() {
    bool ok = false;
    const int steps = qEnvironmentVariable("KAVO_MODEL_STEPS").toInt(&ok);
    return ok && steps > 0 ? steps : DefaultSteps;
}

} // namespace

class TestModelRun : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { quietMasks(); }

    void panelFollowsTheModelThroughARandomRun() {
        const quint32 seed = seedFromEnvironment();
        const int steps = stepsFromEnvironment();
        FormRig rig;
        rig.show();
        QVERIFY(QTest::qWaitForWindowActive(rig.form.get()));
        ModelRun run(rig, seed);
        {
            const QStringList wrong = run.mismatches();
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join("\n")));
        }
        QElapsedTimer clock;
        clock.start();
        for (int step = 1; step <= steps; ++step) {
            if (!run.step(step))
                QFAIL(qPrintable(run.report()));
        }
        if (!run.exitAtTheEnd(steps + 1))
            QFAIL(qPrintable(run.report()));
        const Stats& s = run.stats();
        qInfo("seed %u: %d steps in %lld ms; %d armed, %d refused, %d disarmed, %d fired "
              "(%d across midnight), %d failed writes, %d retries delivered, %d skins, %d plain",
              seed, s.steps, qint64(clock.elapsed()), s.armed, s.refused, s.disarmed, s.fired,
              s.firedAcrossMidnight, s.failedWrites, s.retriesDelivered, s.skins, s.plain);
        // A run long enough to mean something went through every kind of event.
        if (steps >= 50000) {
            QVERIFY(s.armed > 0 && s.refused > 0 && s.disarmed > 0 && s.fired > 0);
            QVERIFY(s.firedAcrossMidnight > 0 && s.failedWrites > 0 && s.retriesDelivered > 0);
            QVERIFY(s.skins > 0 && s.plain > 0);
        }
    }

    // The check itself sees each kind of deviation a fault could cause.
    void checkNoticesEveryKindOfDeviation_data() {
        QTest::addColumn<int>("tamper");
        QTest::addColumn<QString>("noticed");
        QTest::newRow("a stray write") << 0 << "journal";
        QTest::newRow("a stray beep") << 1 << "journal";
        QTest::newRow("both faces of a channel") << 2 << "Command5";
        QTest::newRow("a window button") << 3 << "Command16";
        QTest::newRow("a row's text") << 4 << "Text2";
        QTest::newRow("a row's colour") << 5 << "Text3 colour";
        QTest::newRow("the port warning") << 6 << "port warning";
        QTest::newRow("the picture") << 7 << "Picture";
        QTest::newRow("the panel") << 8 << "row 4 shown";
    }
    void checkNoticesEveryKindOfDeviation() {
        QFETCH(int, tamper);
        QFETCH(QString, noticed);
        FormRig rig;
        rig.show();
        ModelRun run(rig, DefaultSeed);
        for (int step = 1; step <= 300; ++step)
            QVERIFY2(run.step(step), qPrintable(run.report()));
        ui::Form1& f = rig.f();
        switch (tamper) {
        case 0:
            rig.port.PortOut(888, 7);
            break;
        case 1:
            rig.beeper.beep();
            break;
        case 2:
            f.Command(5)->setVisible(f.Command(5)->isHidden());
            break;
        case 3:
            f.Command(16)->setVisible(f.Command(16)->isHidden());
            break;
        case 4:
            f.Text(2)->setText(f.Text(2)->text() + "0");
            break;
        case 5: {
            QPalette p = f.Text(3)->palette();
            p.setColor(QPalette::Base, Qt::blue);
            f.Text(3)->setPalette(p);
            break;
        }
        case 6:
            f.portIndicator->setVisible(f.portIndicator->isHidden());
            break;
        case 7:
            f.setPicture(f.Picture(5)->picture());
            break;
        default:
            f.Check(4)->setVisible(f.Check(4)->isHidden());
        }
        const QStringList wrong = run.mismatches();
        QVERIFY2(!wrong.isEmpty(), "the deviation went unnoticed");
        QVERIFY2(wrong.join('\n').contains(noticed), qPrintable(wrong.join('\n')));
    }
};

QTEST_MAIN(TestModelRun)
#include "test_model_run.moc"
