#pragma once
// The Skin menu and the plain view. A skin makes one holder's picture the
// window's picture, puts the ten window buttons back to their start-up
// visibility and re-cuts the window; "X&P" uncuts it, shows the Gold picture
// and hides the ten buttons. Neither touches the channels, the port, the
// timer panel or the clock.

#include <QColor>
#include <QObject>

#include <array>

namespace ui {

class Form1;
class PictureHolder;

// Form1's picture holders, by their design names.
enum class Holder {
    Picture1 = 1,
    Picture2,
    Picture3,
    Picture4,
    Picture5,
    Picture6,
    Picture7,
    Picture8,
    Picture9
};

// The Skin menu's items, in menu order.
enum class Skin { Acqa, Nature, Gold, Purple, SeaBeach, Bird, Lily, Sky };
inline constexpr int SkinCount = 8;

struct SkinDesign {
    const char* item; // the menu item's objectName
    const char* caption;
    Holder holder; // whose picture the window wears
    bool lilyBack; // also gives the form the Lily back colour
};
// In the order of Skin.
inline constexpr std::array<SkinDesign, SkinCount> SkinDesigns{{
    {"Sl", "Acqa", Holder::Picture3, false},
    {"lg", "Nature", Holder::Picture6, false},
    {"CA", "Gold", Holder::Picture8, false},
    {"An", "Purple", Holder::Picture9, false},
    {"sb", "Sea Beach", Holder::Picture7, false},
    {"gl", "Bird", Holder::Picture2, false},
    {"Li", "Lily", Holder::Picture1, true},
    {"Bl", "Sky", Holder::Picture4, false},
}};

class Skins : public QObject {
    Q_OBJECT
  public:
    explicit Skins(Form1& form);

    static QColor lilyBackColour() { return QColor(255, 192, 128); }

    void Skin_Click(Skin skin);
    void Command18_Click(); // X&P: the plain view

    // The design's names for the skin handlers.
    void Sl_Click() { Skin_Click(Skin::Acqa); }
    void lg_Click() { Skin_Click(Skin::Nature); }
    void CA_Click() { Skin_Click(Skin::Gold); }
    void An_Click() { Skin_Click(Skin::Purple); }
    void sb_Click() { Skin_Click(Skin::SeaBeach); }
    void gl_Click() { Skin_Click(Skin::Bird); }
    void Li_Click() { Skin_Click(Skin::Lily); }
    void Bl_Click() { Skin_Click(Skin::Sky); }

  private:
    PictureHolder& picture(Holder holder) const;
    Form1& form_;
};

} // namespace ui
