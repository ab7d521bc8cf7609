#!/usr/bin/env bash
# Builds the panel for 64-bit Windows: kavo-panel.exe, a zip to unpack
# anywhere and an NSIS installer, in build-windows/ (or the folder given).
#
# Debian has no Qt for mingw, so Qt's own base module is cross-built from
# Debian's source of the host's Qt version, once, into a cache outside the
# checkout ($KAVO_WINDOWS_CACHE, default ~/.cache/kavo-windows) and reused
# from there. The host's Qt tools (moc, uic, rcc) serve the cross build.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-windows}"
cache="${KAVO_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kavo-windows}"
jobs="${KAVO_JOBS:-$(nproc)}"

"$root/scripts/setup.sh" run windows

# The Qt source must match the host tools exactly.
qt_deb_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
qt="$cache/qt-${qt_deb_version}"

fetch_qt_source() {
    local dir="$1" apt_dir="$1/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/sources.list.d"
    # deb-src twins of the machine's own deb lines, in a list only this apt
    # call reads; the system's apt configuration and lists stay untouched.
    local sources
    for sources in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$sources" ] || continue
        sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$sources"
    done >"$apt_dir/sources.list.d/src.list"
    for sources in /etc/apt/sources.list.d/*.sources; do
        [ -f "$sources" ] || continue
        sed -E 's/^Types:.*/Types: deb-src/' "$sources" >"$apt_dir/sources.list.d/$(basename "$sources")"
    done
    local apt=(apt-get -q -o Dir::Etc::sourcelist=/dev/null
        -o Dir::Etc::sourceparts="$apt_dir/sources.list.d"
        -o Dir::State::Lists="$apt_dir/lists"
        -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=
        -o APT::Sandbox::User=root)
    "${apt[@]}" update >/dev/null
    (cd "$dir" && "${apt[@]}" source --only-source "qt6-base=$qt_deb_version" >/dev/null)
}

build_qt() {
    local work="$cache/work-${qt_deb_version}"
    rm -rf "$work" "$qt"
    mkdir -p "$work"
    echo "Fetching Qt's source (qt6-base $qt_deb_version)"
    fetch_qt_source "$work"
    local src
    src="$(find "$work" -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)"
    mkdir -p "$qt"
    # Qt remembers its toolchain file; a copy in the cache outlives the checkout.
    cp "$root/cmake/mingw-w64-x86_64-posix.cmake" "$qt/toolchain.cmake"
    echo "Cross-building Qt into $qt (about 20 minutes on two cores)"
    # A shared release build of what the panel and its tests use. OpenGL stays
    # on (loaded at run time): the Windows platform plugin needs it.
    cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$qt/toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$qt" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_opengl_dynamic=ON -DFEATURE_system_zlib=OFF >"$work/configure.log"
    cmake --build "$work/build" -j"$jobs" >"$work/build.log"
    cmake --install "$work/build" >/dev/null
    touch "$qt/.complete"
    rm -rf "$work"
}

[ -f "$qt/.complete" ] || build_qt
[ "${KAVO_WINDOWS_QT_ONLY:-0}" = 1 ] && exit 0

# The panel against the cross-built Qt. What has no Windows backend yet (the
# USB boards) or no Windows counterpart (the session bus, X11, libcanberra,
# MQTT through kavo-mqtt) is left out.
# ccache only where the machine has it; the project does not install it.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
"$qt/bin/qt-cmake" -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVO_WERROR=ON \
    "${launcher[@]}" \
    -DKAVO_WITH_HIDAPI=OFF -DKAVO_WITH_SERIALPORT=OFF -DKAVO_WITH_DBUS=OFF \
    -DKAVO_WITH_CANBERRA=OFF -DKAVO_WITH_X11=OFF -DKAVO_WITH_MQTT=OFF \
    -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TESTS=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine64 || echo /usr/lib/wine/wine64)" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j"$jobs"

# kavo-panel-<version>-win64.zip and the installer, -setup.exe.
(cd "$build" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
ls "$build"/kavo-panel-*-win64.zip "$build"/kavo-panel-*-win64.exe

# The program under Wine, as unpacked from the zip.
ctest --test-dir "$build" -j"$jobs" --output-on-failure
