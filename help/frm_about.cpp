#include "frm_about.h"
#include "ui/shaped/shaped_form.h"

#include "assets/assets.h"
#include "help_common.h"
#include "secondary_frame.h"
#include "ui/look.h"
#include "ui/program_identity.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>

namespace help {
namespace {
const char* const kDescription =
    "Ideal Home/SOHO Automation system to control elctrical appliances with just mouse "
    "click.....from PC or Laptop in various ways.With added timer for On-to-Off as well as "
    "Off-to-On facility scheduler.User can insert logic in existing electrical home circuits.  "
    "for Win9x/NT/XP/2000";
const char* const kDisclaimer = "Designed and developed by Quorvale Automation.";

QString titleText() {
    return QString::fromUtf8(ui::identity::title.data(),
                             static_cast<qsizetype>(ui::identity::title.size()));
}

// A thin outline in the default line colour, no fill.
class OutlineShape : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// A straight line filling its box in the given colour.
class LineShape : public QWidget {
  public:
    LineShape(const QColor& colour, QWidget* parent) : QWidget(parent), colour_(colour) {}

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour_); }

  private:
    QColor colour_;
};

QWidget* decoration(QWidget* widget, const char* name, const QRect& geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    widget->setFocusPolicy(Qt::NoFocus);
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
    return widget;
}

QLabel* textLabel(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour,
                  const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    decoration(label, name, geometry);
    label->setFont(windowFont(true));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}
} // namespace

FrmAbout::FrmAbout(platform::Registry& registry, platform::ProgramStarter& starter,
                   ShowMessage showMessage)
    : QDialog(nullptr, fixedDialogFlags()), registry_(registry), starter_(starter),
      showMessage_(std::move(showMessage)) {
    assets::init();
    if (!showMessage_) {
        showMessage_ = [this](const std::string& text, const std::string& title) {
            QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                            QString::fromStdString(text), QMessageBox::Ok, this);
            box.exec();
        };
    }
    setObjectName(QStringLiteral("frmAbout"));
    setFont(windowFont());
    background_ = ui::loadPicture(QStringLiteral(":/help/about/background"));
    // Not centred: the client area sits at a fixed place on the screen.
    setFixedSize(382, 237);
    setGeometry(156, 129, 382, 237);
    new SecondaryFrame(this, SecondaryFrame::Placement::AsDesigned);

    // Left at its defaults (no mask colour, no dragging) the component
    // neither cuts nor moves this framed window; nothing here addresses it.
    new ui::shaped::ShapedForm(this, [] { return QImage(); }, {});

    // Shapes and labels are drawn on the window's surface, below the buttons
    // and the picture box.
    decoration(new OutlineShape(this), "Shape1", QRect(8, 8, 329, 145));
    // White, 2 px wide, centred on y = 152 from x = 0 to 344.
    decoration(new LineShape(Qt::white, this), "Line1", QRect(0, 151, 344, 2));
    const QColor yellow(255, 255, 0);
    const QColor green(0, 255, 0);
    lblDescription_ = textLabel(this, "lblDescription", QRect(56, 56, 259, 94), yellow,
                                QString::fromLatin1(kDescription));
    lblDisclaimer_ = textLabel(this, "lblDisclaimer", QRect(8, 152, 258, 63), green,
                               QString::fromLatin1(kDisclaimer));
    lblTitle_ = textLabel(this, "lblTitle", QRect(56, 8, 267, 31), yellow);
    lblVersion_ = textLabel(this, "lblVersion", QRect(56, 40, 115, 21), yellow);

    cmdOK_ = new QPushButton(QStringLiteral("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setGeometry(264, 168, 76, 23);
    cmdOK_->setAutoDefault(true);
    cmdOK_->setDefault(true);

    // The picture box shows its 50 x 50 picture inside a 2 px sunken border.
    picIcon_ = new QLabel(this);
    picIcon_->setObjectName(QStringLiteral("picIcon"));
    picIcon_->setGeometry(0, 0, 54, 54);
    picIcon_->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    picIcon_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon_->setPixmap(ui::loadPicture(QStringLiteral(":/help/about/icon")));
    picIcon_->setFocusPolicy(Qt::StrongFocus);
    picIcon_->setAccessibleName(QStringLiteral("picIcon"));
    picIcon_->setAccessibleDescription(
        pictureDescription(QStringLiteral("about_icon"), QStringLiteral("The program's emblem.")));

    cmdSysInfo_ = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo_->setGeometry(264, 200, 75, 23);
    cmdSysInfo_->setAutoDefault(true);

    setTabOrder(cmdOK_, picIcon_);
    setTabOrder(picIcon_, cmdSysInfo_);
    cmdOK_->setFocus();

    connect(cmdOK_, &QPushButton::clicked, this, &FrmAbout::cmdOK_Click);
    connect(cmdSysInfo_, &QPushButton::clicked, this, &FrmAbout::cmdSysInfo_Click);

    Form_Load();
}

void FrmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + titleText());
    lblVersion_->setText(QStringLiteral("Version %1.%2.%3")
                             .arg(ui::identity::versionMajor)
                             .arg(ui::identity::versionMinor)
                             .arg(ui::identity::versionRevision));
    lblTitle_->setText(titleText());
}

void FrmAbout::cmdOK_Click() {
    close();
}

void FrmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void FrmAbout::StartSysInfo() {
    help::StartSysInfo(registry_, starter_, showMessage_);
}

void FrmAbout::keyPressEvent(QKeyEvent* event) {
    // cmdOK is the cancel button too: Esc presses it wherever the focus is.
    // Enter is left to the dialog: it presses the button that has the focus,
    // and cmdOK from anywhere else.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOK_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void FrmAbout::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, background_);
}

} // namespace help
