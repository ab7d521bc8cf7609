#pragma once

namespace assets {
// Registers the embedded pictures. Safe to call more than once. Their 2x
// renderings are registered apart, by initHiDpi() (hidpi.h), where a screen
// needs them.
void init();
} // namespace assets
