#pragma once
// The main window's menu bar. A shaped window has no room for a bar of its
// own, so the bar opens as a popup: right-click anywhere on the panel, or
// press F10 or the Menu key. Its shortcuts (Ctrl+T, Ctrl+S, Ctrl+A, Ctrl+O)
// belong to the window and work whatever is visible or focused.

#include <QKeySequence>
#include <QObject>

class QAction;
class QMenu;
class QPoint;
class QWidget;

namespace ui {

class MenuBar : public QObject {
    Q_OBJECT
  public:
    explicit MenuBar(QWidget* window);
    ~MenuBar() override;

    void popup(const QPoint& globalPos);
    // Keeps the window's shortcuts working while `editor` has the focus
    // (a text box would otherwise take Ctrl+A as "select all").
    void keepShortcutsFrom(QWidget* editor);

    QMenu* bar = nullptr; // the popup that stands for the bar
    QMenu* sch = nullptr;
    QMenu* EM = nullptr;
    QMenu* Sk = nullptr;
    QMenu* h = nullptr;
    QAction *TM = nullptr, *SM = nullptr;
    QAction *EMAO = nullptr, *EMAOF = nullptr;
    QAction *Sl = nullptr, *lg = nullptr, *CA = nullptr, *An = nullptr, *sb = nullptr,
            *gl = nullptr, *Li = nullptr, *Bl = nullptr;
    QAction *OM = nullptr, *WD = nullptr, *AD = nullptr;
    QAction* x = nullptr;
    QAction* openMenu = nullptr; // F10 / Menu key

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QAction* item(QMenu* menu, const char* name, const QString& caption,
                  const QKeySequence& shortcut = {});
    QWidget* window_;
};

} // namespace ui
