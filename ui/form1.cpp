#include "form1.h"
#include "menu_bar.h"
#include "picture_button.h"
#include "port_indicator.h"
#include "shaped/shaped_form.h"
#include "skins.h"

#include "assets/assets.h"
#include "scheduler/clock_label.h"
#include "scheduler/timer_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace ui {
namespace {

QFont panelFont(int pixelSize, bool bold) {
    // The panel was laid out for an 8.25 pt (11 px at 96 dpi) sans-serif font.
    // Liberation Sans has the metrics closest to it among free fonts.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QImage loadPicture(const char* alias) {
    QImage image(QString::fromLatin1(alias));
    if (image.isNull())
        throw std::runtime_error(std::string("missing picture ") + alias);
    return image;
}

} // namespace

PictureHolder::PictureHolder(const QImage& picture, QWidget* parent)
    : QWidget(parent), picture_(picture) {
    setFocusPolicy(Qt::NoFocus);
    hide();
}

Form1::Form1(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(std::move(services)),
      register_(services_.port), switchboard_(register_, services_.beeper, *this),
      guide_(services_.guide), wiring_(services_.wiring), about_(services_.about) {
    assets::init();
    setObjectName("Form1");
    setWindowTitle("Quorvale Automation KAVO H1.10xp");
    setWindowIcon(QIcon(":/main/icon"));
    setFixedSize(ClientWidth, ClientHeight);
    setFont(panelFont(11, true));

    buildControls();
    picture_ = Picture[1]->picture();
    ShapedForm1 =
        new shaped::ShapedForm(this, [this] { return picture_; }, {true, qRgb(255, 255, 255)});
    menu_ = new MenuBar(this);
    buildTabOrder();
    connectControls();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::buildControls() {
    const QFont regular = panelFont(11, false);
    const QPixmap onFace(":/main/face/on");
    const QPixmap offFace(":/main/face/off");

    auto button = [this](int n, const QString& caption, QRect geometry, const QString& name) {
        auto* b = new PanelButton(caption, this);
        b->setGeometry(geometry);
        b->setAccessibleName(name);
        Command[n] = b;
    };
    for (int channel = 1; channel <= 4; ++channel) {
        const QRect place(channel % 2 ? 152 : 200, channel <= 2 ? 232 : 328, 41, 89);
        const QString caption = QString("&%1").arg(channel);
        auto* on = new PanelButton(caption, this, onFace);
        auto* off = new PanelButton(caption, this, offFace);
        for (auto* b : {on, off}) {
            b->setGeometry(place);
            b->setFont(regular);
        }
        on->setAccessibleName(QString("Channel %1 on").arg(channel));
        off->setAccessibleName(QString("Channel %1 off").arg(channel));
        off->hide();
        Command[channel] = on;
        Command[channel + 4] = off;
    }
    button(9, "&X", {248, 32, 25, 25}, "Exit and switch all outputs off");
    button(10, "&_", {224, 32, 25, 25}, "Minimise");
    button(11, "&?", {200, 32, 25, 25}, "About");
    button(12, "&Timer Mode", {40, 120, 49, 33}, "Show the timer panel");
    button(13, "&Simple Mode", {40, 120, 49, 33}, "Hide the timer panel");
    button(14, "&All On", {96, 120, 41, 33}, "Switch all channels on");
    button(15, "&All Off", {96, 120, 41, 33}, "Switch all channels off");
    button(16, "&Wiring", {144, 120, 49, 33}, "Wiring diagram");
    button(17, "&Operation Guide", {200, 120, 65, 33}, "Operation guide");
    button(18, "X&P", {176, 32, 25, 25}, "Plain view");
    Command[13]->hide();
    Command[15]->hide();
    for (int n = 1; n <= 18; ++n)
        Command[n]->setObjectName(QString("Command%1").arg(n));

    for (int row = 1; row <= 4; ++row) {
        const int top = 232 + (row - 1) * 24;
        auto* check = new QCheckBox("Check1", this);
        check->setObjectName(QString("Check%1").arg(row));
        check->setGeometry(56, top, 17, 17);
        check->setFont(regular);
        check->setAccessibleName(QString("Arm channel %1 timer").arg(row));
        check->hide();
        Check[row] = check;

        auto* text = new QLineEdit(scheduler::IdleText, this);
        text->setObjectName(QString("Text%1").arg(row));
        text->setGeometry(80, top, 57, 19);
        text->setFont(regular);
        text->setAccessibleName(QString("Channel %1 switching time").arg(row));
        QPalette red = text->palette();
        red.setColor(QPalette::Base, scheduler::TimerPanel::idleColour());
        text->setPalette(red);
        text->hide();
        Text[row] = text;
    }

    auto label = [this](const char* name, QRect geometry, const QString& text, QColor colour) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        l->setAttribute(Qt::WA_TranslucentBackground);
        QPalette p = l->palette();
        p.setColor(QPalette::WindowText, colour);
        l->setPalette(p);
        return l;
    };
    Label1 = label("Label1", {56, 328, 89, 105},
                   "Timer in HH:MM:SS-> 24Hour type Format    e.g. 6.00 am as 06:00:00   6.00 "
                   "pm as 18:00:00 and select perticular check box",
                   QColor(0, 0, 255));
    Label1->setWordWrap(true);
    {
        // The hint was worded for a narrower font than any free one; a slightly
        // condensed face keeps all of it inside its 89 x 105 pixels.
        QFont condensed = font();
        condensed.setStretch(82);
        Label1->setFont(condensed);
    }
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setAccessibleName("Timer format hint");
    Label1->hide();
    Label3 = label("Label3", {96, 64, 209, 73},
                   "Quorvale Automation\nHome and office appliance\ncontrol from your PC",
                   QColor(0, 0, 255));
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setAccessibleName("Credits");
    Label4 = label("Label4", {96, 168, 113, 25}, QString(), Qt::white);
    Label4->setFont(panelFont(16, true));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setAccessibleName("Clock");

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(40, 32, 50, 50);
    Image1->setPixmap(QPixmap(":/main/image1"));
    Image1->setAccessibleName("Logo");
    // Labels and the picture are drawn beneath every control, as on the
    // original panel: the credit label overlaps the row of buttons.
    for (QWidget* decoration : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label3),
                                static_cast<QWidget*>(Label4), static_cast<QWidget*>(Image1)})
        decoration->lower();

    static constexpr const char* holderPictures[] = {
        ":/main/skin/lily", ":/main/skin/bird",     ":/main/skin/acqa",
        ":/main/skin/sky",  ":/main/skin/picture5", ":/main/skin/nature",
        ":/main/skin/sky",  ":/main/skin/gold",     ":/main/skin/nature"};
    static constexpr QRect holderPlaces[] = {
        {256, 8, 25, 25},  {288, 8, 25, 25},   {320, 8, 25, 25},
        {352, 8, 25, 25},  {280, 136, 33, 28}, {296, 40, 17, 17},
        {320, 40, 17, 17}, {344, 40, 17, 17},  {368, 40, 17, 17}};
    for (int n = 1; n <= 9; ++n) {
        Picture[n] = new PictureHolder(loadPicture(holderPictures[n - 1]), this);
        Picture[n]->setObjectName(QString("Picture%1").arg(n));
        Picture[n]->setGeometry(holderPlaces[n - 1]);
    }

    static constexpr int intervals[] = {1000, 10, 100, 500, 1000};
    for (int n = 1; n <= 5; ++n) {
        Timer[n] = new QTimer(this);
        Timer[n]->setObjectName(QString("Timer%1").arg(n));
        Timer[n]->setInterval(intervals[n - 1]);
    }

    portIndicator = new PortIndicator(this);
    portIndicator->setGeometry(262, 400, 12, 12);

    timerPanel_ = new scheduler::TimerPanel(
        {{Check[1], Check[2], Check[3], Check[4]},
         {Text[1], Text[2], Text[3], Text[4]},
         {Timer[2], Timer[3], Timer[4], Timer[5]},
         Label1,
         Command[12],
         Command[13]},
        services_.clock, services_.beeper,
        [this](int channel) { switchboard_.scheduledToggle(channel); }, this);
    skins_ = new Skins(*this);
    Timer[1]->start();
}

void Form1::buildTabOrder() {
    // Channel buttons, panel rows, hint, then the window buttons, as designed.
    QList<QWidget*> order;
    for (int n = 1; n <= 8; ++n)
        order << Command[n];
    for (int n = 1; n <= 4; ++n)
        order << Check[n];
    for (int n = 1; n <= 4; ++n)
        order << Text[n];
    for (int n = 9; n <= 18; ++n)
        order << Command[n];
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    for (QLabel* l : {Label1, Label3, Label4, Image1})
        l->setFocusPolicy(Qt::NoFocus);
}

void Form1::connectControls() {
    const std::array<void (Form1::*)(), 19> clicks{nullptr,
                                                   &Form1::Command1_Click,
                                                   &Form1::Command2_Click,
                                                   &Form1::Command3_Click,
                                                   &Form1::Command4_Click,
                                                   &Form1::Command5_Click,
                                                   &Form1::Command6_Click,
                                                   &Form1::Command7_Click,
                                                   &Form1::Command8_Click,
                                                   &Form1::Command9_Click,
                                                   &Form1::Command10_Click,
                                                   &Form1::Command11_Click,
                                                   &Form1::Command12_Click,
                                                   &Form1::Command13_Click,
                                                   &Form1::Command14_Click,
                                                   &Form1::Command15_Click,
                                                   &Form1::Command16_Click,
                                                   &Form1::Command17_Click,
                                                   &Form1::Command18_Click};
    for (int n = 1; n <= 18; ++n)
        connect(Command[n], &QPushButton::clicked, this, clicks[n]);

    MenuBar& m = *menu_;
    connect(m.TM, &QAction::triggered, this, &Form1::TM_Click);
    connect(m.SM, &QAction::triggered, this, &Form1::SM_Click);
    connect(m.EMAO, &QAction::triggered, this, &Form1::EMAO_Click);
    connect(m.EMAOF, &QAction::triggered, this, &Form1::EMAOF_Click);
    connect(m.Sl, &QAction::triggered, skins_, &Skins::Sl_Click);
    connect(m.lg, &QAction::triggered, skins_, &Skins::lg_Click);
    connect(m.CA, &QAction::triggered, skins_, &Skins::CA_Click);
    connect(m.An, &QAction::triggered, skins_, &Skins::An_Click);
    connect(m.sb, &QAction::triggered, skins_, &Skins::sb_Click);
    connect(m.gl, &QAction::triggered, skins_, &Skins::gl_Click);
    connect(m.Li, &QAction::triggered, skins_, &Skins::Li_Click);
    connect(m.Bl, &QAction::triggered, skins_, &Skins::Bl_Click);
    connect(m.OM, &QAction::triggered, this, &Form1::OM_Click);
    connect(m.WD, &QAction::triggered, this, &Form1::WD_Click);
    connect(m.AD, &QAction::triggered, this, &Form1::AD_Click);
    connect(m.x, &QAction::triggered, this, &Form1::x_Click);
    for (int n = 1; n <= 4; ++n)
        m.keepShortcutsFrom(Text[n]);
    connect(Timer[1], &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(Timer[2], &QTimer::timeout, this, &Form1::Timer2_Timer);
    connect(Timer[3], &QTimer::timeout, this, &Form1::Timer3_Timer);
    connect(Timer[4], &QTimer::timeout, this, &Form1::Timer4_Timer);
    connect(Timer[5], &QTimer::timeout, this, &Form1::Timer5_Timer);
    connect(Check[1], &QCheckBox::stateChanged, this, &Form1::Check1_Click);
    connect(Check[2], &QCheckBox::stateChanged, this, &Form1::Check2_Click);
    connect(Check[3], &QCheckBox::stateChanged, this, &Form1::Check3_Click);
    connect(Check[4], &QCheckBox::stateChanged, this, &Form1::Check4_Click);
}

QMenu* Form1::menuBar() const {
    return menu_->bar;
}

void Form1::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void Form1::setBackColour(const QColor& colour) {
    backColour_ = colour;
    update();
}

void Form1::showPortStatus(const platform::PortStatus& status) {
    portIndicator->showStatus(status);
}

void Form1::showCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    show();
}

void Form1::paintEvent(QPaintEvent*) {
    // The back colour is painted here, not handed down through the palette:
    // the controls would draw their bevels from it.
    QPainter painter(this);
    ShapedForm1->paintSurface(painter, backColour_);
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void Form1::setOnFaceVisible(int channel, bool visible) {
    Command[channel]->setVisible(visible);
}
void Form1::setOffFaceVisible(int channel, bool visible) {
    Command[channel + 4]->setVisible(visible);
}

// ---- handlers ----------------------------------------------------------

void Form1::Form_Load() {
    register_.startupReset();
}

void Form1::Command1_Click() {
    switchboard_.switchOn(1);
}
void Form1::Command2_Click() {
    switchboard_.switchOn(2);
}
void Form1::Command3_Click() {
    switchboard_.switchOn(3);
}
void Form1::Command4_Click() {
    switchboard_.switchOn(4);
}
void Form1::Command5_Click() {
    switchboard_.switchOff(1);
}
void Form1::Command6_Click() {
    switchboard_.switchOff(2);
}
void Form1::Command7_Click() {
    switchboard_.switchOff(3);
}
void Form1::Command8_Click() {
    switchboard_.switchOff(4);
}

void Form1::Command9_Click() {
    register_.resetForExit();
    services_.endProgram();
}
void Form1::x_Click() {
    Command9_Click();
}

void Form1::Command10_Click() {
    setWindowState(windowState() | Qt::WindowMinimized);
}
void Form1::Command11_Click() {
    about_.show();
}
void Form1::Command12_Click() {
    timerPanel_->Command12_Click();
}
void Form1::Command13_Click() {
    timerPanel_->Command13_Click();
}

void Form1::Command14_Click() {
    switchboard_.allOn();
    Command[15]->show();
    Command[14]->hide();
}

void Form1::Command15_Click() {
    switchboard_.allOff();
    Command[14]->show();
    Command[15]->hide();
}

void Form1::Command16_Click() {
    wiring_.show();
}
void Form1::Command17_Click() {
    guide_.show();
}
void Form1::Command18_Click() {
    skins_->Command18_Click();
}
void Form1::EMAO_Click() {
    switchboard_.allOn();
}
void Form1::EMAOF_Click() {
    switchboard_.allOff();
}
void Form1::TM_Click() {
    timerPanel_->TM_Click();
}
void Form1::SM_Click() {
    timerPanel_->SM_Click();
}
void Form1::OM_Click() {
    guide_.show();
}
void Form1::WD_Click() {
    wiring_.show();
}
void Form1::AD_Click() {
    about_.show();
}
void Form1::Timer1_Timer() {
    Label4->setText(scheduler::clockLabelText(services_.clock));
}
void Form1::Timer2_Timer() {
    timerPanel_->Timer_Timer(1);
}
void Form1::Timer3_Timer() {
    timerPanel_->Timer_Timer(2);
}
void Form1::Timer4_Timer() {
    timerPanel_->Timer_Timer(3);
}
void Form1::Timer5_Timer() {
    timerPanel_->Timer_Timer(4);
}
void Form1::Check1_Click() {
    timerPanel_->Check_Click(1);
}
void Form1::Check2_Click() {
    timerPanel_->Check_Click(2);
}
void Form1::Check3_Click() {
    timerPanel_->Check_Click(3);
}
void Form1::Check4_Click() {
    timerPanel_->Check_Click(4);
}

} // namespace ui
