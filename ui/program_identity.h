#pragma once
// The program's title and version. The version is the build's own (the
// project version in CMakeLists.txt).

#include "kavo_version.h"

#include <string_view>

namespace ui::identity {

inline constexpr std::string_view title = "Quorvale Rivavavo Control System KAVO x";
inline constexpr int versionMajor = KAVO_VERSION_MAJOR;
inline constexpr int versionMinor = KAVO_VERSION_MINOR;
inline constexpr int versionRevision = KAVO_VERSION_PATCH;

static_assert(title.size() == 39, "the title is stored exactly, spaces included");

} // namespace ui::identity
