#include "picture_button.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace ui {

PanelButton::PanelButton(const QString& caption, QWidget* parent, const QPixmap& face)
    : QPushButton(caption, parent), face_(face) {}

void PanelButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    option.icon = {};
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const int shift = isDown() ? 1 : 0;
    const int flags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;
    if (face_.isNull()) {
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::ButtonText));
        painter.drawText(rect().adjusted(2 + shift, 1 + shift, -2 + shift, -1 + shift), flags,
                         text());
    } else {
        QRect faceRect(QPoint(0, 0), face_.deviceIndependentSize().toSize());
        faceRect.moveCenter(rect().center() + QPoint(shift, shift));
        painter.drawPixmap(faceRect.topLeft(), face_);
        // The caption goes in the light window in the middle of the face.
        const QRect textRect(faceRect.left(), faceRect.top() + 22, faceRect.width(), 28);
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.drawText(textRect, flags, text());
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

} // namespace ui
