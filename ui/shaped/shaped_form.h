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
// How the cut is made depends on the window system. On X11 (and wherever
// windows can be shaped) the window's shape is the outline. A Wayland
// compositor cannot shape a window: there the window is translucent and
// paintSurface() leaves everything outside the outline transparent, while
// the outline still is the input region, so clicks beside it fall through.
//
// Dragging starts only once the pointer has moved the platform's drag
// distance with the left button still down, so a tap on the surface never
// starts one. The component moves the window by hand for that first stretch;
// from there the window manager moves it where it can, and on a bare X
// server the component goes on by hand.
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

class QPainter;

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

    enum class Cut {
        Shape, // the window's shape
        Alpha, // a translucent window, transparent outside the outline
    };

    ShapedForm(QWidget* window, PictureSource picture, Settings settings);

    // True cuts the window now to its current picture; False removes the cut.
    void setShaped(bool shaped);
    bool isShaped() const { return shaped_; }
    const Settings& settings() const { return settings_; }
    Cut cut() const { return cut_; }

    // Paints the window's surface: the back colour, and the picture at the
    // top left. With the alpha cut, nothing outside the outline is painted.
    // `shown` is the picture as drawn, the outline's picture itself unless
    // a sharper rendering of it (device pixel ratio 2) stands in for it.
    void paintSurface(QPainter& painter, const QColor& backColour, const QImage& shown = {}) const;

    // The visible part of a window showing `picture` at its top-left.
    static QRegion outline(const QImage& picture, QRgb maskColor);
    // The cut this platform uses for a window to be cut with a mask colour.
    static Cut platformCut();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Drag { None, Pressed, ByWindowManager, ByHand };

    bool cuts() const { return shaped_ && settings_.maskColor.has_value(); }
    void applyCut();
    void beginDrag(const QPoint& globalPos);
    void moveByHand(const QPoint& globalPos);

    QPointer<QWidget> window_;
    PictureSource picture_;
    Settings settings_;
    Cut cut_ = Cut::Shape;
    bool shaped_ = false;
    bool firstShowDone_ = false;
    QRegion outline_; // of the picture at the last cut
    Drag drag_ = Drag::None;
    QPoint pressGlobal_;
    QPoint pressWindowPos_;
};

} // namespace ui::shaped
