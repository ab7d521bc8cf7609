#!/usr/bin/env bash
# Sets up, builds and runs every test: the normal build, then a build with
# every optional part left out, then the same suite under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the Windows cross-build of the code
# that needs no Qt, and last the Windows program, packed and run under Wine.
# Warnings are errors in all of them.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" run deb test

"$root/scripts/build.sh" "$root/build" -DKAVO_WERROR=ON -DKAVO_BUILD_BENCH=ON
(cd "$root/build" && ctest --output-on-failure -j2)

"$root/scripts/build.sh" "$root/build-minimal" -DKAVO_WERROR=ON -DKAVO_BUILD_BENCH=OFF \
    -DKAVO_WITH_HIDAPI=OFF -DKAVO_WITH_SERIALPORT=OFF -DKAVO_WITH_DBUS=OFF \
    -DKAVO_WITH_CANBERRA=OFF -DKAVO_WITH_X11=OFF
(cd "$root/build-minimal" && ctest --output-on-failure -j2)

"$root/scripts/build.sh" "$root/build-asan" -DKAVO_WERROR=ON -DKAVO_SANITIZE=ON -DKAVO_BUILD_BENCH=OFF
(cd "$root/build-asan" &&
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j2)

# The Windows backends and the output core, cross-compiled: they need no Qt.
"$root/scripts/build.sh" "$root/build-mingw" -DKAVO_WERROR=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" -DKAVO_WITH_QT=OFF

# kavo-panel.exe, its zip and installer, and the program under Wine. Qt for
# Windows is cross-built once into a cache (the first run takes 20 to 45
# minutes more); later runs reuse it. The run ends with the Windows part's
# time, and whether the cache had Qt already.
cache="${KAVO_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kavo-windows}"
qt_cache=empty
compgen -G "$cache/qt-*/.complete" >/dev/null && qt_cache=full
windows_start=$SECONDS
"$root/scripts/build-windows.sh" "$root/build-windows"
echo "The Windows part took $(((SECONDS - windows_start) / 60)) min with the $qt_cache cache;" \
    "the whole run $((SECONDS / 60)) min."
