#pragma once

namespace assets {
// Registers the embedded pictures, at 1x and at 2x. Safe to call more than once.
void init();
} // namespace assets
