#include "page_stepper.h"

#include "assets/assets.h"
#include "help_common.h"
#include "secondary_frame.h"
#include "ui/look.h"

#include <QHideEvent>
#include <QPainter>
#include <QShowEvent>

#include <stdexcept>
#include <string>

namespace help {

PagedWindow::PagedWindow(const PagedWindowDesign& design)
    : QWidget(nullptr, fixedDialogFlags()), buttons_(design.buttons) {
    assets::init();
    setObjectName(QString::fromLatin1(design.name));
    setWindowTitle(QString::fromLatin1(design.caption));
    setFont(windowFont());
    setFixedSize(twipsToPixels(design.clientWidth), twipsToPixels(design.clientHeight));
    // Centred on the screen whenever the window opens; being brought to the
    // front again, or restored by the window system, leaves it where it is.
    new SecondaryFrame(this, SecondaryFrame::Placement::Centred);
    cover_ = ui::loadPicture(QString::fromLatin1(design.coverImage));
    setAccessibleDescription(pictureDescription(QString::fromLatin1(design.coverDescriptionKey),
                                                QString::fromLatin1(design.coverDescription)));

    int number = 0;
    for (const PageDesign& p : design.pages) {
        auto* holder = new PageHolder(QString::fromLatin1(p.image), this);
        holder->setObjectName(QString::fromLatin1(p.name));
        holder->setGeometry(twipsRect(p.left, p.top, p.width, p.height));
        holder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // The part of the box the picture leaves free shows the highlight
        // text colour, white in the usual colour schemes.
        QPalette palette = holder->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::HighlightedText));
        holder->setPalette(palette);
        holder->setAutoFillBackground(true);
        // A picture box takes part in the tab order while it is shown.
        holder->setFocusPolicy(Qt::StrongFocus);
        holder->setAccessibleName(QStringLiteral("Page %1").arg(++number));
        holder->setAccessibleDescription(pictureDescription(QString::fromLatin1(p.descriptionKey),
                                                            QString::fromLatin1(p.description)));
        holder->hide();
    }

    for (const ButtonDesign& b : design.buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(twipsRect(b.left, design.buttonTop, b.width, design.buttonHeight));
        button->setEnabled(b.enabled);
        // Enter presses the button that has the focus, as in any dialog.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, steps = b.click] { runSteps(steps); });
    }

    QWidget* previous = nullptr;
    for (const char* name : design.tabOrder) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(name));
        if (!control)
            throw std::logic_error(std::string("no control in the tab order named ") + name);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

PageHolder::PageHolder(QString image, QWidget* parent) : QLabel(parent), image_(std::move(image)) {}

void PageHolder::showEvent(QShowEvent* event) {
    if (pixmap().isNull())
        setPixmap(ui::loadPicture(image_));
    QLabel::showEvent(event);
}

void PageHolder::hideEvent(QHideEvent* event) {
    // Only a hide of the page itself: a window that is minimised or closed
    // keeps its pictures until it shows again or goes.
    if (!event->spontaneous() && !isVisibleTo(parentWidget()))
        clear();
    QLabel::hideEvent(event);
}

void PagedWindow::Command_Click(int n) {
    const QString name = QStringLiteral("Command%1").arg(n);
    for (const ButtonDesign& b : buttons_) {
        if (name == QLatin1String(b.name))
            return runSteps(b.click);
    }
    throw std::logic_error("no button Command" + std::to_string(n));
}

void PagedWindow::runSteps(std::span<const Step> steps) {
    for (const Step& step : steps) {
        auto* control =
            findChild<QWidget*>(QString::fromLatin1(step.control), Qt::FindDirectChildrenOnly);
        if (!control)
            throw std::logic_error(std::string("no control named ") + step.control);
        switch (step.action) {
        case StepAction::Show:
            control->show();
            break;
        case StepAction::Hide:
            control->hide();
            break;
        case StepAction::Enable:
            control->setEnabled(true);
            break;
        case StepAction::Disable:
            control->setEnabled(false);
            break;
        }
    }
}

void PagedWindow::paintEvent(QPaintEvent*) {
    // The cover page is the window's own picture, drawn unscaled.
    QPainter painter(this);
    painter.drawPixmap(0, 0, cover_);
}

} // namespace help
