#include "hidpi.h"

#include <QtCore/QtGlobal>

// rcc names a resource file's init function after the file, with every
// character that cannot appear in a C++ name replaced by '_'.
static void initMain2x() {
    Q_INIT_RESOURCE(main_2x);
}
static void initHelp2x() {
    Q_INIT_RESOURCE(help_2x);
}

namespace assets {
void initHiDpi() {
    static const bool done = [] {
        initMain2x();
        initHelp2x();
        return true;
    }();
    (void)done;
}
} // namespace assets
