#include "frm_wiring.h"

namespace help {
namespace {
using enum StepAction;

// clang-format off
constexpr PageDesign kPages[] = {
    {"Picture1", ":/help/wiring/page1", 0, 0, 9375, 8655, "wiring_page1",
     "Wiring diagram page 1: the parallel port connector and which data pins drive "
     "channels 1 to 4."},
    {"Picture2", ":/help/wiring/page2", 0, 0, 9495, 8775, "wiring_page2",
     "Wiring diagram page 2: the driver stage of one channel, from data pin to relay coil."},
    {"Picture3", ":/help/wiring/page3", 0, 0, 10575, 9015, "wiring_page3",
     "Wiring diagram page 3: the complete four-channel relay board."},
    {"Picture4", ":/help/wiring/page4", 0, 0, 9975, 8775, "wiring_page4",
     "Wiring diagram page 4: connecting the appliances to the relay contacts; mains wiring "
     "is for a qualified electrician."},
};

constexpr Step kCommand1Click[] = {{Show, "Picture1"}, {Disable, "Command1"}, {Enable, "Command2"}};
constexpr Step kCommand2Click[] = {{Hide, "Picture1"}, {Show, "Picture2"},
                                   {Disable, "Command2"}, {Enable, "Command3"}};
constexpr Step kCommand3Click[] = {{Hide, "Picture2"}, {Show, "Picture3"},
                                   {Disable, "Command3"}, {Enable, "Command4"}};
constexpr Step kCommand4Click[] = {{Hide, "Picture3"}, {Show, "Picture4"},
                                   {Disable, "Command4"}, {Enable, "Command5"}};
// "&Repete" goes back to the cover, not to page 1.
constexpr Step kCommand5Click[] = {{Hide, "Picture4"}, {Enable, "Command1"}, {Disable, "Command5"}};

constexpr ButtonDesign kButtons[] = {
    {"Command5", "&Repete", 360, 1215, false, kCommand5Click},
    {"Command1", "&1", 7800, 375, true, kCommand1Click},
    {"Command2", "&2", 8400, 375, false, kCommand2Click},
    {"Command3", "&3", 9000, 375, false, kCommand3Click},
    {"Command4", "&4", 9600, 375, false, kCommand4Click},
};

constexpr const char* kTabOrder[] = {
    "Command1", "Command2", "Command3", "Command4",
    "Picture1", "Picture2", "Picture3", "Picture4", "Command5",
};

constexpr PagedWindowDesign kWindow = {
    "frmWiring", "Quorvale Automation- Wiring Diagram for KAVOxp H1.10", 10650, 10425,
    ":/help/wiring/cover", "wiring_cover",
    "Wiring diagram, cover page: the PC's parallel port driving a four-channel relay board "
    "that switches four appliances. Press 1 to begin.",
    9600, 375, kPages, kButtons, kTabOrder,
};
// clang-format on
} // namespace

FrmWiring::FrmWiring() : PagedWindow(kWindow) {}

} // namespace help
