#pragma once

namespace assets {
// Registers the pictures rendered at twice the pixel size, each under its 1x
// name with "@2x" added (":/main/skin/lily@2x", ":/help/og/page1@2x"), for
// screens scaled by 1.5 or more. Safe to call more than once.
//
// Once registered, QIcon(":/main/icon") also picks ":/main/icon@2x" by itself
// when the application's device pixel ratio is above 1; QPixmap does not.
void initHiDpi();
} // namespace assets
