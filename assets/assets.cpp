#include "assets.h"

#include <QDir>
#include <QtCore/QtGlobal>

static void initMain() {
    Q_INIT_RESOURCE(main);
}
static void initHelp() {
    Q_INIT_RESOURCE(help);
}

namespace assets {
void init() {
    static const bool done = [] {
        initMain();
        initHelp();

        return true;
    }();
    (void)done;
}
} // namespace assets
