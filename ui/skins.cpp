#include "skins.h"
#include "form1.h"
#include "shaped/shaped_form.h"

#include <QPushButton>

namespace ui {

Skins::Skins(Form1& form) : QObject(&form), form_(form) {}

void Skins::applySkin(int holder) {
    // The start-up visibility of Command9..Command18, in that order.
    static constexpr bool visibleAtStart[] = {true, true,  true, true, false,
                                              true, false, true, true, true};
    for (int n = 9; n <= 18; ++n)
        form_.Command[n]->setVisible(visibleAtStart[n - 9]);
    form_.setPicture(form_.Picture[holder]->picture());
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
    form_.setPicture(form_.Picture[8]->picture());
    for (int n = 9; n <= 18; ++n)
        form_.Command[n]->setVisible(false);
}

} // namespace ui
