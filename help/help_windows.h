#pragma once
// Factories for the three secondary windows. Each returns a new, parentless
// window in its initial state; the main window's SecondaryWindow keeps the
// single instance.

#include <QWidget>

namespace platform {
class Registry;
class ProgramStarter;
} // namespace platform

namespace help {

QWidget* createOperationGuide();
QWidget* createWiringDiagram();
QWidget* createAbout(platform::Registry& registry, platform::ProgramStarter& starter);

} // namespace help
