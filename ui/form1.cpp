#include "form1.h"
#include "look.h"
#include "menu_bar.h"
#include "picture_button.h"
#include "port_indicator.h"
#include "shaped/shaped_form.h"
#include "skins.h"

#include "assets/assets.h"
#include "platform/x11/window_manager.h"
#include "scheduler/clock_label.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <stdexcept>

namespace ui {

const std::array<WindowButtonDesign, WindowButtonCount> WindowButtons{{
    {"&X", {248, 32, 25, 25}, true, "Exit and switch all outputs off"},
    {"&_", {224, 32, 25, 25}, true, "Minimise"},
    {"&?", {200, 32, 25, 25}, true, "About"},
    {"&Timer Mode", {40, 120, 49, 33}, true, "Show the timer panel"},
    {"&Simple Mode", {40, 120, 49, 33}, false, "Hide the timer panel"},
    {"&All On", {96, 120, 41, 33}, true, "Switch all channels on"},
    {"&All Off", {96, 120, 41, 33}, false, "Switch all channels off"},
    {"&Wiring", {144, 120, 49, 33}, true, "Wiring diagram"},
    {"&Operation Guide", {200, 120, 65, 33}, true, "Operation guide"},
    {"X&P", {176, 32, 25, 25}, true, "Plain view"},
}};

namespace {

// Where each channel's controls sit: its ON/OFF face pair (channel 1 top
// left, 2 top right, 3 bottom left, 4 bottom right) and its timer row.
struct ChannelPlace {
    QRect faces;
    int rowTop;
};
constexpr std::array<ChannelPlace, core::ChannelCount> ChannelLayout{{
    {{152, 232, 41, 89}, 232},
    {{200, 232, 41, 89}, 256},
    {{152, 328, 41, 89}, 280},
    {{200, 328, 41, 89}, 304},
}};
constexpr int CheckLeft = 56, TextLeft = 80;
constexpr QSize CheckSize(17, 17), TextSize(57, 19);

// Picture1..Picture9: the picture each holder keeps, and its place.
struct HolderDesign {
    const char* picture;
    QRect place;
};
constexpr std::array<HolderDesign, Form1::PictureCount> Holders{{
    {":/main/skin/lily", {256, 8, 25, 25}},
    {":/main/skin/bird", {288, 8, 25, 25}},
    {":/main/skin/acqa", {320, 8, 25, 25}},
    {":/main/skin/sky", {352, 8, 25, 25}},
    {":/main/skin/picture5", {280, 136, 33, 28}},
    {":/main/skin/nature", {296, 40, 17, 17}},
    {":/main/skin/sky", {320, 40, 17, 17}},
    {":/main/skin/gold", {344, 40, 17, 17}},
    {":/main/skin/nature", {368, 40, 17, 17}},
}};
constexpr int StartupHolder = 1;

} // namespace

void PictureStore::prefetch(const QString& path) {
    if (!images_.contains(path) && !pending_.contains(path))
        pending_.insert(path, std::async(std::launch::async, [path] { return QImage(path); }));
}

const QImage& PictureStore::image(const QString& path) {
    auto it = images_.find(path);
    if (it == images_.end()) {
        const auto started = pending_.find(path);
        QImage decoded = started != pending_.end() ? started->get() : QImage(path);
        pending_.remove(path);
        if (decoded.isNull())
            throw std::runtime_error("missing picture " + path.toStdString());
        it = images_.insert(path, decoded);
    }
    return *it;
}

const QImage& PictureStore::shownImage(const QString& path, qreal devicePixelRatio) {
    if (!wantsDoubleSize(devicePixelRatio))
        return image(path);
    auto it = doubled_.find(path);
    if (it == doubled_.end())
        it = doubled_.insert(path, sharpestPicture(path, devicePixelRatio));
    return *it;
}

PictureHolder::PictureHolder(PictureStore& store, QString path, QWidget* parent)
    : QWidget(parent), store_(store), path_(std::move(path)) {
    setFocusPolicy(Qt::NoFocus);
    hide();
}

const QImage& PictureHolder::picture() const {
    return store_.image(path_);
}

const QImage& PictureHolder::shownPicture(qreal devicePixelRatio) const {
    return store_.shownImage(path_, devicePixelRatio);
}

Form1::Form1(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), services_(std::move(services)),
      model_(services_.model), guide_(services_.guide), wiring_(services_.wiring),
      about_(services_.about) {
    assets::init();
    // The start-up picture decodes while the controls are built (the first
    // text widget waits some milliseconds for the font system).
    pictureStore_.prefetch(QString::fromLatin1(Holders[std::size_t{StartupHolder - 1}].picture));
    setObjectName("Form1");
    setWindowTitle("Quorvale Automation KAVO H1.10xp");
    setWindowIcon(programIcon());
    setFixedSize(ClientWidth, ClientHeight);
    setFont(designFont(11, true));

    buildChannels();
    buildWindowButtons();
    buildLabels();
    buildPictureHolders();
    wear(*Picture(StartupHolder));

    clockTimer_ = new QTimer(this);
    clockTimer_->setObjectName("Timer1");
    clockTimer_->setInterval(scheduler::ClockIntervalMs);

    portIndicator = new PortIndicator(this);
    portIndicator->setGeometry(262, 400, 12, 12);
    connect(&model_, &panel::PanelModel::portChanged, portIndicator,
            [this] { portIndicator->showStatus(model_.portStatus()); });

    PanelWidgets panel;
    for (std::size_t i = 0; i < channels_.size(); ++i)
        panel.rows[i] = channels_[i].row;
    panel.hint = Label1;
    panel.timerModeButton = button(WindowButton::TimerMode);
    panel.simpleModeButton = button(WindowButton::SimpleMode);
    timerPanel_ = new TimerPanel(panel, model_, this);
    model_.setFaces(this);
    skins_ = new Skins(*this);

    ShapedForm1 =
        new shaped::ShapedForm(this, [this] { return picture_; }, {true, qRgb(255, 255, 255)});
    menu_ = new MenuBar(this);
    buildTabOrder();
    connectControls();
    clockTimer_->start();
    Form_Load();
}

Form1::~Form1() {
    model_.setFaces(nullptr);
}

void Form1::buildChannels() {
    const QFont regular = designFont(11, false);
    const QPixmap onFace = loadPicture(":/main/face/on");
    const QPixmap offFace = loadPicture(":/main/face/off");
    onButtons_ = new QButtonGroup(this);
    offButtons_ = new QButtonGroup(this);
    for (int n = 1; n <= core::ChannelCount; ++n) {
        const ChannelPlace& place = ChannelLayout[static_cast<std::size_t>(n - 1)];
        Channel& c = channels_[static_cast<std::size_t>(n - 1)];
        const QString caption = QString("&%1").arg(n);
        c.on = new PanelButton(caption, this, onFace);
        c.off = new PanelButton(caption, this, offFace);
        c.on->setObjectName(QString("Command%1").arg(n));
        c.off->setObjectName(QString("Command%1").arg(n + core::ChannelCount));
        c.on->setAccessibleName(QString("Channel %1 on").arg(n));
        c.off->setAccessibleName(QString("Channel %1 off").arg(n));
        for (PanelButton* b : {c.on, c.off}) {
            b->setGeometry(place.faces);
            b->setFont(regular);
        }
        c.off->hide();
        onButtons_->addButton(c.on, n);
        offButtons_->addButton(c.off, n);

        auto* check = new QCheckBox("Check1", this);
        check->setObjectName(QString("Check%1").arg(n));
        check->setGeometry(QRect(QPoint(CheckLeft, place.rowTop), CheckSize));
        check->setFont(regular);
        check->setAccessibleName(QString("Arm channel %1 timer").arg(n));
        check->hide();

        auto* text = new QLineEdit(panel::IdleText, this);
        text->setObjectName(QString("Text%1").arg(n));
        text->setGeometry(QRect(QPoint(TextLeft, place.rowTop), TextSize));
        text->setFont(regular);
        text->setAccessibleName(QString("Channel %1 switching time").arg(n));
        text->hide();
        c.row = {check, text};
    }
}

void Form1::buildWindowButtons() {
    for (std::size_t i = 0; i < WindowButtons.size(); ++i) {
        const WindowButtonDesign& design = WindowButtons[i];
        auto* b = new PanelButton(QString::fromLatin1(design.caption), this);
        b->setObjectName(QString("Command%1").arg(FirstWindowButton + static_cast<int>(i)));
        b->setGeometry(design.place);
        b->setAccessibleName(QString::fromLatin1(design.accessibleName));
        b->setVisible(design.visibleAtStart);
        windowButtons_[i] = b;
    }
}

void Form1::buildLabels() {
    auto label = [this](const char* name, QRect geometry, const QString& text, QColor colour) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        l->setAttribute(Qt::WA_TranslucentBackground);
        l->setFocusPolicy(Qt::NoFocus);
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
    Label4->setFont(designFont(16, true));
    Label4->setAlignment(Qt::AlignCenter);
    Label4->setAccessibleName("Clock");

    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(40, 32, 50, 50);
    Image1->setPixmap(loadPicture(":/main/image1"));
    Image1->setAccessibleName("Logo");
    Image1->setFocusPolicy(Qt::NoFocus);
    // Labels and the picture are drawn beneath every control, as on the
    // original panel: the credit label overlaps the row of buttons.
    for (QWidget* decoration : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label3),
                                static_cast<QWidget*>(Label4), static_cast<QWidget*>(Image1)})
        decoration->lower();
}

void Form1::buildPictureHolders() {
    for (int n = 1; n <= PictureCount; ++n) {
        const HolderDesign& design = Holders[static_cast<std::size_t>(n - 1)];
        auto* holder = new PictureHolder(pictureStore_, QString::fromLatin1(design.picture), this);
        holder->setObjectName(QString("Picture%1").arg(n));
        holder->setGeometry(design.place);
        pictures_[static_cast<std::size_t>(n - 1)] = holder;
    }
}

void Form1::buildTabOrder() {
    // Channel faces (all ON, then all OFF), the panel's check boxes, its text
    // boxes, then the window buttons, as designed.
    QList<QWidget*> order;
    for (const Channel& c : channels_)
        order << c.on;
    for (const Channel& c : channels_)
        order << c.off;
    for (const Channel& c : channels_)
        order << c.row.check;
    for (const Channel& c : channels_)
        order << c.row.text;
    for (PanelButton* b : windowButtons_)
        order << b;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void Form1::connectControls() {
    connect(onButtons_, &QButtonGroup::idClicked, this, &Form1::ChannelOn_Click);
    connect(offButtons_, &QButtonGroup::idClicked, this, &Form1::ChannelOff_Click);
    for (int n = 1; n <= core::ChannelCount; ++n) {
        const RowWidgets& row = channel(n).row;
        connect(row.check, &QCheckBox::stateChanged, this, [this, n] { Check_Click(n); });
    }

    // Command9_Click .. Command18_Click, in the order of WindowButton.
    static constexpr std::array<void (Form1::*)(), WindowButtonCount> windowClicks{
        &Form1::Command9_Click,  &Form1::Command10_Click, &Form1::Command11_Click,
        &Form1::Command12_Click, &Form1::Command13_Click, &Form1::Command14_Click,
        &Form1::Command15_Click, &Form1::Command16_Click, &Form1::Command17_Click,
        &Form1::Command18_Click};
    for (std::size_t i = 0; i < windowButtons_.size(); ++i)
        connect(windowButtons_[i], &QPushButton::clicked, this, windowClicks[i]);

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
    for (const Channel& c : channels_)
        m.keepShortcutsFrom(c.row.text);
    connect(clockTimer_, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

QPushButton* Form1::button(WindowButton which) const {
    return windowButtons_.at(static_cast<std::size_t>(which));
}

QPushButton* Form1::Command(int n) const {
    if (n >= 1 && n <= core::ChannelCount)
        return channel(n).on;
    if (n > core::ChannelCount && n < FirstWindowButton)
        return channel(n - core::ChannelCount).off;
    return windowButtons_.at(static_cast<std::size_t>(n - FirstWindowButton));
}

QTimer* Form1::Timer(int n) const {
    return n == 1 ? clockTimer_ : model_.rows().timer(n - 1);
}

QMenu* Form1::menuBar() const {
    return menu_->bar;
}

void Form1::wear(const PictureHolder& holder) {
    picture_ = holder.picture();
    shown_ = holder.shownPicture(devicePixelRatioF());
    update();
}

void Form1::setPicture(const QImage& picture) {
    picture_ = picture;
    shown_ = picture;
    update();
}

void Form1::setBackColour(const QColor& colour) {
    backColour_ = colour;
    update();
}

void Form1::bringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
    // Qt asks as the application does; a window manager that prevents focus
    // stealing refuses that to a program the user did not just click. The
    // user did ask: through the second panel.
    platform::x11::activate(windowHandle());
}

void Form1::showCentred() {
    // A window without a frame: the frame is the client area.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(centredTopLeft(size(), screen));
    show();
}

void Form1::paintEvent(QPaintEvent*) {
    // The back colour is painted here, not handed down through the palette:
    // the controls would draw their bevels from it.
    QPainter painter(this);
    ShapedForm1->paintSurface(painter, backColour_, shown_);
}

void Form1::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void Form1::closeEvent(QCloseEvent* event) {
    // Closed by the window manager or the session: the window is unloaded
    // with no step of the program, so its timers end with it and the port
    // keeps its last byte. The program ends once its last window is closed.
    unload();
    QWidget::closeEvent(event);
}

void Form1::unload() {
    if (unloaded_)
        return;
    unloaded_ = true;
    clockTimer_->stop();
    model_.close();
    emit unloaded();
}

void Form1::setOnFaceVisible(int n, bool visible) {
    channel(n).on->setVisible(visible);
}
void Form1::setOffFaceVisible(int n, bool visible) {
    channel(n).off->setVisible(visible);
}

// ---- handlers ----------------------------------------------------------

void Form1::Form_Load() {
    model_.startupReset();
}

void Form1::ChannelOn_Click(int n) {
    model_.switchOn(n);
}
void Form1::ChannelOff_Click(int n) {
    model_.switchOff(n);
}
void Form1::Check_Click(int n) {
    timerPanel_->Check_Click(n);
}
void Form1::Timer_Timer(int n) {
    model_.rows().Timer_Timer(n);
}

void Form1::Command9_Click() {
    model_.resetForExit();
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
    model_.allOn();
    button(WindowButton::AllOff)->show();
    button(WindowButton::AllOn)->hide();
}

void Form1::Command15_Click() {
    model_.allOff();
    button(WindowButton::AllOn)->show();
    button(WindowButton::AllOff)->hide();
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
    model_.allOn();
}
void Form1::EMAOF_Click() {
    model_.allOff();
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

} // namespace ui
