#include "port_indicator.h"

#include <QPainter>

namespace ui {

PortIndicator::PortIndicator(QWidget* parent) : QWidget(parent) {
    setObjectName("PortWarning");
    setAccessibleName("Relay board not reachable");
    setAttribute(Qt::WA_TranslucentBackground);
    hide();
}

void PortIndicator::showStatus(const core::PortStatus& status) {
    const QString reason = QString::fromStdString(status.describe());
    setToolTip(status.ok ? QString() : reason);
    setAccessibleDescription(status.ok ? QString() : reason);
    setVisible(!status.ok);
}

void PortIndicator::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    painter.setPen(QPen(QColor(80, 0, 0), 1.2));
    painter.setBrush(QColor(230, 30, 30));
    painter.drawEllipse(r);
    painter.setPen(QPen(Qt::white, 1.6));
    const QPointF c = r.center();
    painter.drawLine(QPointF(c.x(), r.top() + 2.5), QPointF(c.x(), c.y() + 1));
    painter.drawPoint(QPointF(c.x(), r.bottom() - 2.2));
}

} // namespace ui
