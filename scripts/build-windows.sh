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

# The Qt source must match the host tools exactly, and hidapi is the host's
# own version.
qt_deb_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"
qt="$cache/qt-${qt_deb_version}"
hidapi_deb_version="$(dpkg-query -W -f='${Version}' libhidapi-dev)"
hidapi="$cache/hidapi-${hidapi_deb_version}"

# fetch_source <folder> <package> <version>: Debian's source of the package,
# unpacked into the folder, which $fetched then names; fails where the
# archive does not have it.
fetch_source() {
    local dir="$1" package="$2" version="$3" apt_dir="$1/apt"
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
    "${apt[@]}" update >/dev/null || return
    (cd "$dir" && "${apt[@]}" source --only-source "$package=$version" >/dev/null) || return
    fetched="$(find "$dir" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | head -n1)"
    [ -n "$fetched" ]
}

# cross_build <package> <version> <prefix> <configure command...>: Debian's
# source of the package, configured by the command (which gets the source,
# the build folder, Ninja and the prefix), built and installed into the
# prefix, which is then marked complete. Fails where a step fails, keeping
# its logs in the work folder.
cross_build() {
    local package="$1" version="$2" prefix="$3"
    shift 3
    local work="$cache/work-$package-$version"
    rm -rf "$work" "$prefix"
    mkdir -p "$work"
    echo "Fetching $package $version's source and cross-building it into $prefix"
    fetch_source "$work" "$package" "$version" || return
    "$@" -S "$fetched" -B "$work/build" -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_BUILD_TYPE=Release >"$work/configure.log" 2>&1 &&
        cmake --build "$work/build" -j"$jobs" >"$work/build.log" 2>&1 &&
        cmake --install "$work/build" >/dev/null || return
    touch "$prefix/.complete"
    rm -rf "$work"
}
failed() { echo "$1 did not cross-build; its logs are in $cache/work-$2" >&2; }

# Qt remembers its toolchain file; a copy in the cache outlives the checkout.
toolchain="$cache/mingw-w64-x86_64-posix.cmake"
mkdir -p "$cache"
cmp -s "$root/cmake/mingw-w64-x86_64-posix.cmake" "$toolchain" ||
    cp "$root/cmake/mingw-w64-x86_64-posix.cmake" "$toolchain"

# A shared release build of what the panel and its tests use, about 20
# minutes on two cores. OpenGL stays on (loaded at run time): the Windows
# platform plugin needs it.
[ -f "$qt/.complete" ] ||
    cross_build qt6-base "$qt_deb_version" "$qt" cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DBUILD_SHARED_LIBS=ON \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DQt6HostInfo_DIR=/usr/lib/x86_64-linux-gnu/cmake/Qt6HostInfo \
        -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
        -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF \
        -DFEATURE_opengl_dynamic=ON -DFEATURE_system_zlib=OFF ||
    { failed Qt "qt6-base-$qt_deb_version"; exit 1; }

# hidapi's Windows backend, as a DLL beside the program.
[ -f "$hidapi/.complete" ] ||
    cross_build hidapi "$hidapi_deb_version" "$hidapi" cmake -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
        -DBUILD_SHARED_LIBS=ON -DHIDAPI_BUILD_HIDTEST=OFF ||
    { failed hidapi "hidapi-$hidapi_deb_version"; exit 1; }

[ "${KAVO_WINDOWS_QT_ONLY:-0}" = 1 ] && exit 0

# The panel against the cross-built Qt, with the USB HID relay boards through
# hidapi (its prefix added to Qt's) and the serial ones through Win32. What
# has no Windows counterpart (the session bus, X11, libcanberra, MQTT through
# kavo-mqtt) is left out.
# ccache only where the machine has it; the project does not install it.
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
"$qt/bin/qt-cmake" -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKAVO_WERROR=ON \
    "${launcher[@]}" -DQT_ADDITIONAL_PACKAGES_PREFIX_PATH="$hidapi" \
    -DKAVO_WITH_HIDAPI=ON -DKAVO_WITH_SERIALPORT=ON -DKAVO_WITH_DBUS=OFF \
    -DKAVO_WITH_CANBERRA=OFF -DKAVO_WITH_X11=OFF -DKAVO_WITH_MQTT=OFF \
    -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_TESTS=ON \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v wine64 || echo /usr/lib/wine/wine64)" \
    -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j"$jobs"

# kavo-panel-<version>-win64.zip and its installer, kavo-panel-<version>-win64.exe.
(cd "$build" && cpack -G ZIP >/dev/null && cpack -G NSIS >/dev/null)
ls "$build"/kavo-panel-*-win64.zip "$build"/kavo-panel-*-win64.exe

# Under Wine: the Qt Test suites as Windows programs, and the program as
# unpacked from the zip; and the installer's files against the zip's.
# A test that fails is run once more, and the log keeps the failed run: under
# Wine a test once died in one of Qt's own threads (PCRE2's JIT, now off).
ctest --test-dir "$build" -j"$jobs" --output-on-failure --repeat until-pass:2
