#pragma once
// The Skin menu and the plain view. A skin makes one holder's picture the
// window's picture, puts the ten window buttons back to their start-up
// visibility and re-cuts the window; "X&P" uncuts it, shows the Gold picture
// and hides the ten buttons. Neither touches the channels, the port, the
// timer panel or the clock.

#include <QColor>
#include <QObject>

namespace ui {

class Form1;

class Skins : public QObject {
    Q_OBJECT
  public:
    explicit Skins(Form1& form);

    static QColor lilyBackColour() { return QColor(255, 192, 128); }

    void Sl_Click();        // Acqa
    void lg_Click();        // Nature
    void CA_Click();        // Gold
    void An_Click();        // Purple
    void sb_Click();        // Sea Beach
    void gl_Click();        // Bird
    void Li_Click();        // Lily
    void Bl_Click();        // Sky
    void Command18_Click(); // X&P: the plain view

  private:
    void applySkin(int holder);
    Form1& form_;
};

} // namespace ui
