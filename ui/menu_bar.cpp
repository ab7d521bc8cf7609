#include "menu_bar.h"
#include "skins.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include <array>

namespace ui {

MenuBar::MenuBar(QWidget* window) : QObject(window), window_(window) {
    bar = new QMenu(window);
    bar->setObjectName("MenuBar");
    bar->setTitle("Menu");

    sch = bar->addMenu("&Schduler");
    sch->setObjectName("sch");
    TM = item(sch, "TM", "&Timer Mode", QKeySequence("Ctrl+T"));
    SM = item(sch, "SM", "Simple Mode", QKeySequence("Ctrl+S"));

    EM = bar->addMenu("Emergency Mode");
    EM->setObjectName("EM");
    EMAO = item(EM, "EMAO", "ALL ON", QKeySequence("Ctrl+A"));
    EMAOF = item(EM, "EMAOF", "ALL OFF", QKeySequence("Ctrl+O"));

    Sk = bar->addMenu("Skin");
    Sk->setObjectName("Sk");
    // The items by their design names, in the order of the skin table.
    static constexpr std::array<QAction * MenuBar::*, SkinCount> skinItems{
        &MenuBar::Sl, &MenuBar::lg, &MenuBar::CA, &MenuBar::An,
        &MenuBar::sb, &MenuBar::gl, &MenuBar::Li, &MenuBar::Bl};
    for (std::size_t i = 0; i < skinItems.size(); ++i)
        this->*skinItems[i] = item(Sk, SkinDesigns[i].item, SkinDesigns[i].caption);

    h = bar->addMenu("Help");
    h->setObjectName("h");
    OM = item(h, "OM", "Operation Manual");
    WD = item(h, "WD", "Wiring Diagram");
    AD = item(h, "AD", "About Developer");

    x = item(bar, "x", "E&xit");

    openMenu = new QAction("Open menu", window);
    openMenu->setObjectName("openMenu");
    openMenu->setShortcuts({QKeySequence(Qt::Key_F10), QKeySequence(Qt::Key_Menu),
                            QKeySequence(Qt::SHIFT | Qt::Key_F10)});
    window->addAction(openMenu);
    connect(openMenu, &QAction::triggered, this,
            [this] { popup(window_->mapToGlobal(QPoint(40, 32))); });
}

MenuBar::~MenuBar() = default;

QAction* MenuBar::item(QMenu* menu, const char* name, const QString& caption,
                       const QKeySequence& shortcut) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        window_->addAction(action); // active while the window is, not just the menu
    }
    return action;
}

void MenuBar::popup(const QPoint& globalPos) {
    bar->popup(globalPos);
}

void MenuBar::keepShortcutsFrom(QWidget* editor) {
    editor->installEventFilter(this);
}

bool MenuBar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (QAction* action : {TM, SM, EMAO, EMAOF}) {
            if (action->shortcut() == pressed)
                return true; // not taken by the editor: the shortcut fires
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ui
