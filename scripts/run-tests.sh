#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then the same suite
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the Windows
# cross-build of the code that needs no Qt.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" run deb test

"$root/scripts/build.sh" "$root/build" -DKAVO_BUILD_BENCH=ON
(cd "$root/build" && ctest --output-on-failure -j2)

"$root/scripts/build.sh" "$root/build-asan" -DKAVO_SANITIZE=ON -DKAVO_BUILD_BENCH=OFF
(cd "$root/build-asan" &&
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2)

# The Windows backends and the output core, cross-compiled: they need no Qt.
"$root/scripts/build.sh" "$root/build-mingw" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DKAVO_WITH_QT=OFF
