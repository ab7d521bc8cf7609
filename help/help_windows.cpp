#include "help_windows.h"

#include "frm_about.h"
#include "frm_og.h"
#include "frm_wiring.h"

namespace help {

QWidget* createOperationGuide() {
    return new FrmOG();
}

QWidget* createWiringDiagram() {
    return new FrmWiring();
}

QWidget* createAbout(platform::Registry& registry, platform::ProgramStarter& starter) {
    return new FrmAbout(registry, starter);
}

} // namespace help
