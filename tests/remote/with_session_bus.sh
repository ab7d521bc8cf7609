#!/bin/sh
# Runs a test inside a private session bus of its own, so that it never meets
# the user's bus or a panel running there. Without dbus-run-session the test
# is skipped (ctest reads status 77 as a skip).
if ! command -v dbus-run-session >/dev/null 2>&1; then
    echo "SKIP: dbus-run-session is missing (Debian package dbus, see scripts/setup.sh);" \
        "the scripting tests need a private session bus"
    exit 77
fi
exec dbus-run-session -- "$@"
