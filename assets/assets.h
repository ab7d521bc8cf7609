#pragma once

namespace assets {
// Registers the embedded pictures. Safe to call more than once.
void init();
} // namespace assets
