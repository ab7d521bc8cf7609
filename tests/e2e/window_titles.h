#pragma once
// The titles of the program's windows, by which the tests find them on screen.

#include <QString>

namespace titles {
inline const QString Panel = QStringLiteral("Quorvale Automation KAVO H1.10xp");
inline const QString About = QStringLiteral("About Quorvale Rivavavo Control System KAVO x");
inline const QString Guide = QStringLiteral("Instalation & Operartion Guide..");
inline const QString Wiring =
    QStringLiteral("Quorvale Automation- Wiring Diagram for KAVOxp H1.10");
} // namespace titles
