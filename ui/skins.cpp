#include "skins.h"
#include "form1.h"
#include "shaped/shaped_form.h"

#include <QPushButton>

namespace ui {

Skins::Skins(Form1& form) : QObject(&form), form_(form) {}

void Skins::applySkin(int holder) {
    // The ten window buttons back to their start-up visibility, in order.
    for (std::size_t i = 0; i < WindowButtons.size(); ++i)
        form_.button(static_cast<WindowButton>(i))->setVisible(WindowButtons[i].visibleAtStart);
    form_.wear(*form_.Picture(holder));
    form_.shapedForm().setShaped(true);
}

void Skins::Sl_Click() {
    applySkin(3);
}
void Skins::lg_Click() {
    applySkin(6);
}
void Skins::CA_Click() {
    applySkin(8);
}
void Skins::An_Click() {
    applySkin(9);
}
void Skins::sb_Click() {
    applySkin(7);
}
void Skins::gl_Click() {
    applySkin(2);
}
void Skins::Bl_Click() {
    applySkin(4);
}

void Skins::Li_Click() {
    // Only Lily changes the background, and nothing sets it back.
    form_.setBackColour(lilyBackColour());
    applySkin(1);
}

void Skins::Command18_Click() {
    form_.shapedForm().setShaped(false);
    form_.wear(*form_.Picture(8));
    for (std::size_t i = 0; i < WindowButtons.size(); ++i)
        form_.button(static_cast<WindowButton>(i))->setVisible(false);
}

} // namespace ui
