#include "shaped_form.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QWindow>

namespace ui::shaped {

ShapedForm::ShapedForm(QWidget* window, PictureSource picture, Settings settings)
    : QObject(window), window_(window), picture_(std::move(picture)), settings_(settings) {
    setObjectName("ShapedForm1");
    if (settings_.maskColor)
        shaped_ = true; // cut by itself on the first show
    window_->installEventFilter(this);
}

QRegion ShapedForm::outline(const QImage& picture, QRgb maskColor) {
    if (picture.isNull())
        return {};
    // The colour match must be exact, so compare on a 32-bit copy.
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    const QImage mask = rgb.createMaskFromColor(maskColor | 0xff000000u, Qt::MaskInColor);
    return QRegion(QBitmap::fromImage(mask));
}

void ShapedForm::setShaped(bool shaped) {
    shaped_ = shaped;
    applyCut();
}

void ShapedForm::applyCut() {
    if (!window_ || !settings_.maskColor)
        return;
    if (shaped_)
        window_->setMask(outline(picture_(), *settings_.maskColor));
    else
        window_->clearMask();
}

bool ShapedForm::beginDrag(const QPoint& globalPos) {
    if (QWindow* handle = window_->windowHandle(); handle && handle->startSystemMove())
        return true;
    // Bare X servers without a window manager cannot move windows for us.
    manualDragOffset_ = globalPos - window_->pos();
    return true;
}

bool ShapedForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (!firstShowDone_) {
            firstShowDone_ = true;
            applyCut();
        }
        break;
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (settings_.autodrag && settings_.maskColor && mouse->button() == Qt::LeftButton)
            return beginDrag(mouse->globalPosition().toPoint());
        break;
    }
    case QEvent::MouseMove:
        if (manualDragOffset_) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            window_->move(mouse->globalPosition().toPoint() - *manualDragOffset_);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (manualDragOffset_) {
            manualDragOffset_.reset();
            return true;
        }
        break;
    default:
        break;
    }
    return false;
}

} // namespace ui::shaped
