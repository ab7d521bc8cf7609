#include "frm_og.h"

namespace help {
namespace {
using enum StepAction;

// clang-format off
constexpr PageDesign kPages[] = {
    {"Picture2", ":/help/og/page1", 0, 0, 10455, 9615, "og_page1",
     "Guide page 1: installing the program, connecting the relay board to the parallel port "
     "and giving the program access to the port."},
    {"Picture3", ":/help/og/page2", -120, 0, 10455, 9735, "og_page2",
     "Guide page 2: the main window control by control, the menu and its shortcuts."},
    {"Picture4", ":/help/og/page3", 0, 0, 10455, 9855, "og_page3",
     "Guide page 3: timer mode, skins, the plain view and leaving the program safely."},
};

// "&Repete" goes back to the cover, not to page 1.
constexpr Step kCommand1Click[] = {{Hide, "Picture4"}, {Disable, "Command1"}, {Enable, "Command2"}};
constexpr Step kCommand2Click[] = {{Disable, "Command2"}, {Enable, "Command3"}, {Show, "Picture2"}};
constexpr Step kCommand3Click[] = {{Disable, "Command3"}, {Enable, "Command4"},
                                   {Hide, "Picture2"}, {Show, "Picture3"}};
constexpr Step kCommand4Click[] = {{Disable, "Command4"}, {Enable, "Command1"},
                                   {Hide, "Picture3"}, {Show, "Picture4"}};

constexpr ButtonDesign kButtons[] = {
    {"Command1", "&Repete", 120, 1215, false, kCommand1Click},
    {"Command2", "&1", 8760, 375, true, kCommand2Click},
    {"Command3", "&2", 9240, 375, false, kCommand3Click},
    {"Command4", "&3", 9720, 375, false, kCommand4Click},
};

constexpr const char* kTabOrder[] = {
    "Command1", "Command2", "Command3", "Command4", "Picture2", "Picture3", "Picture4",
};

constexpr PagedWindowDesign kWindow = {
    "frmOG", "Instalation & Operartion Guide..", 10905, 10440,
    ":/help/og/cover", "og_cover",
    "Installation and operation guide, cover page: the control panel on a PC joined by a "
    "parallel cable to a four-channel relay board. Press 1 to begin.",
    9960, 375, kPages, kButtons, kTabOrder,
};
// clang-format on
} // namespace

FrmOG::FrmOG() : PagedWindow(kWindow) {}

} // namespace help
