#pragma once
// How the guide, wiring diagram and About windows sit on the desktop: with
// the program's icon, a title bar with a close box only, no taskbar button,
// and, for the two that open centred, centred as the user sees them, that is
// with the frame the window manager puts around them.

#include <QObject>
#include <QPointer>

class QWidget;
class QWindow;

namespace help {

class SecondaryFrame : public QObject {
    Q_OBJECT
  public:
    enum class Placement {
        Centred,    // the framed window centred on its screen at every opening
        AsDesigned, // where the window's own geometry puts its client area
    };
    SecondaryFrame(QWidget* window, Placement placement);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void prepareNativeWindow(QWindow* handle);
    void centre();

    QPointer<QWidget> window_;
    QPointer<QWindow> handle_;
    Placement placement_;
    bool awaitingFrame_ = false;
};

} // namespace help
