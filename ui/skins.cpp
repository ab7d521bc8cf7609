#include "skins.h"
#include "form1.h"
#include "shaped/shaped_form.h"

#include <QPushButton>

namespace ui {

Skins::Skins(Form1& form) : QObject(&form), form_(form) {}

PictureHolder& Skins::picture(Holder holder) const {
    return *form_.Picture(static_cast<int>(holder));
}

void Skins::Skin_Click(Skin skin) {
    const SkinDesign& design = SkinDesigns.at(static_cast<std::size_t>(skin));
    // Only Lily changes the background, and nothing sets it back.
    if (design.lilyBack)
        form_.setBackColour(lilyBackColour());
    // The ten window buttons back to their start-up visibility, in order.
    for (std::size_t i = 0; i < WindowButtons.size(); ++i)
        form_.button(static_cast<WindowButton>(i))->setVisible(WindowButtons[i].visibleAtStart);
    form_.wear(picture(design.holder));
    form_.shapedForm().setShaped(true);
}

void Skins::Command18_Click() {
    form_.shapedForm().setShaped(false);
    form_.wear(picture(Holder::Picture8)); // the Gold picture
    for (std::size_t i = 0; i < WindowButtons.size(); ++i)
        form_.button(static_cast<WindowButton>(i))->setVisible(false);
}

} // namespace ui
