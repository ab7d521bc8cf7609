#include "shaped_form.h"

#include "platform/x11/window_manager.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>
#include <QWindow>

namespace ui::shaped {

ShapedForm::ShapedForm(QWidget* window, PictureSource picture, Settings settings)
    : QObject(window), window_(window), picture_(std::move(picture)), settings_(settings) {
    setObjectName("ShapedForm1");
    if (settings_.maskColor) {
        shaped_ = true; // cut by itself on the first show
        cut_ = platformCut();
        // Must be set before the native window exists: it picks a surface
        // with an alpha channel.
        if (cut_ == Cut::Alpha)
            window_->setAttribute(Qt::WA_TranslucentBackground);
    }
    window_->installEventFilter(this);
}

ShapedForm::Cut ShapedForm::platformCut() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ? Cut::Alpha
                                                                                : Cut::Shape;
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
    if (shaped_) {
        outline_ = outline(picture_(), *settings_.maskColor);
        // With the alpha cut this is the input region only.
        window_->setMask(outline_);
    } else {
        outline_ = {};
        window_->clearMask();
    }
    if (cut_ == Cut::Alpha)
        window_->update();
}

void ShapedForm::paintSurface(QPainter& painter, const QColor& backColour,
                              const QImage& shown) const {
    if (!window_)
        return;
    const QRect all = window_->rect();
    painter.save();
    if (cut_ == Cut::Alpha && cuts()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(all, Qt::transparent);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.setClipRegion(outline_);
    }
    painter.fillRect(all, backColour);
    painter.drawImage(QPoint(0, 0), shown.isNull() ? picture_() : shown);
    painter.restore();
}

void ShapedForm::beginDrag(const QPoint& globalPos) {
    // The pointer has already gone the drag distance, and perhaps far
    // beyond: the window catches up by hand, and the window manager moves it
    // from here on. Handed the press position instead, it would move the
    // window only on motion still to come, and a quick drag whose release
    // follows its first motion would leave the window behind.
    moveByHand(globalPos);
    QWindow* handle = window_->windowHandle();
    if (platform::x11::available()) {
        switch (platform::x11::startMove(handle, globalPos)) {
        case platform::x11::MoveStart::Started:
            drag_ = Drag::ByWindowManager;
            return;
        case platform::x11::MoveStart::ButtonReleased:
            drag_ = Drag::None;
            return;
        case platform::x11::MoveStart::Unsupported:
            break; // a bare X server: move it by hand
        }
    } else if (platformCut() == Cut::Alpha && handle && handle->startSystemMove()) {
        // Only Wayland keeps a window from placing itself. Elsewhere (Windows)
        // the move stays ours: the system's move loop, started after a quick
        // release, would carry the window with the pointer until a click.
        drag_ = Drag::ByWindowManager;
        return;
    }
    drag_ = Drag::ByHand;
}

void ShapedForm::moveByHand(const QPoint& globalPos) {
    window_->move(pressWindowPos_ + (globalPos - pressGlobal_));
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
        if (settings_.autodrag && settings_.maskColor && mouse->button() == Qt::LeftButton) {
            drag_ = Drag::Pressed;
            pressGlobal_ = mouse->globalPosition().toPoint();
            pressWindowPos_ = window_->pos();
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint global = mouse->globalPosition().toPoint();
        switch (drag_) {
        case Drag::None:
        case Drag::ByWindowManager:
            return false;
        case Drag::Pressed:
            if (!(mouse->buttons() & Qt::LeftButton)) {
                drag_ = Drag::None; // the release went elsewhere
                return false;
            }
            if ((global - pressGlobal_).manhattanLength() >=
                QGuiApplication::styleHints()->startDragDistance())
                beginDrag(global);
            return true;
        case Drag::ByHand:
            moveByHand(global);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton || drag_ == Drag::None)
            break;
        // The window manager grabs the pointer once it starts moving; a
        // release that still reached us came before, and it would wait for
        // one forever.
        if (drag_ == Drag::ByWindowManager && platform::x11::available())
            platform::x11::cancelMove(window_->windowHandle());
        drag_ = Drag::None;
        return true;
    }
    default:
        break;
    }
    return false;
}

} // namespace ui::shaped
