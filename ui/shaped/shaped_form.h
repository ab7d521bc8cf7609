#pragma once
// Cuts a top-level window to the outline of its picture and lets the user
// drag it by its surface.
//
// The outline is every pixel of the window's current picture that is not
// exactly the mask colour. The strip of the client area that the picture
// does not cover (the client area is a few pixels larger than any picture)
// is cut as well: the window is exactly the figure, with no stray band of
// background colour beside it.
//
// Without a mask colour (an instance left at its defaults) the component
// neither cuts nor drags: the window keeps its normal frame and shape.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRegion>
#include <QWidget>

#include <functional>
#include <optional>

namespace ui::shaped {

class ShapedForm : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Shaped READ isShaped WRITE setShaped)

  public:
    struct Settings {
        bool autodrag = false;
        std::optional<QRgb> maskColor;
    };
    using PictureSource = std::function<QImage()>;

    ShapedForm(QWidget* window, PictureSource picture, Settings settings);

    // True cuts the window now to its current picture; False removes the cut.
    void setShaped(bool shaped);
    bool isShaped() const { return shaped_; }
    const Settings& settings() const { return settings_; }

    // The visible part of a window showing `picture` at its top-left.
    static QRegion outline(const QImage& picture, QRgb maskColor);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void applyCut();
    bool beginDrag(const QPoint& globalPos);

    QPointer<QWidget> window_;
    PictureSource picture_;
    Settings settings_;
    bool shaped_ = false;
    bool firstShowDone_ = false;
    std::optional<QPoint> manualDragOffset_;
};

} // namespace ui::shaped
