#pragma once
// The program's title and version as the About window shows them.

#include <string_view>

namespace help::identity {

inline constexpr std::string_view title = "Quorvale Rivavavo Control System KAVO x";
inline constexpr int versionMajor = 1;
inline constexpr int versionMinor = 1;
inline constexpr int versionRevision = 0;

static_assert(title.size() == 39, "the title is stored exactly, spaces included");

} // namespace help::identity
