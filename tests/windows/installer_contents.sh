#!/usr/bin/env bash
# The NSIS installer unpacks the same files as the zip: the program, Qt's
# DLLs and plugins and the compiler's runtime, each of the same size, read
# with 7-Zip (installer_run.sh runs it).
# Files NSIS adds for itself ($PLUGINSDIR, the uninstaller) are left out.
# Strip stamps the time into each packed copy of the program, so sizes are
# compared rather than bytes.
# Usage: installer_contents.sh <build folder>/kavo-panel-<version>-win64
set -euo pipefail
package="$1"
command -v 7zz >/dev/null || { echo "SKIP: 7zz is missing (scripts/setup.sh windows)"; exit 77; }
for file in "$package.zip" "$package.exe"; do
    [ -f "$file" ] || { echo "FAIL: no $file (cpack -G ZIP and -G NSIS make it)"; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
7zz x -y -o"$tmp/zip" "$package.zip" >/dev/null
7zz x -y -o"$tmp/installer" "$package.exe" >/dev/null
rm -rf "$tmp/installer/\$PLUGINSDIR" "$tmp/installer/Uninstall.exe"

files() { (cd "$1" && find . -type f -printf '%P %s\n' | LC_ALL=C sort); }
files "$tmp/zip/$(basename "$package")" >"$tmp/zip.list"
files "$tmp/installer" >"$tmp/installer.list"
grep -q '^kavo-panel\.exe ' "$tmp/zip.list" || { echo "FAIL: the zip holds no kavo-panel.exe"; exit 1; }
if ! diff -u "$tmp/zip.list" "$tmp/installer.list"; then
    echo "FAIL: the installer's files differ from the zip's (- zip, + installer)"
    exit 1
fi
echo "the installer holds the zip's $(wc -l <"$tmp/zip.list") files:"
sed 's/^/  /' "$tmp/installer.list"
