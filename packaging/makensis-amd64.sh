#!/bin/sh
# makensis making a 64-bit installer: CPack passes its arguments on, but
# cannot pass one that holds a space, as "-XTarget amd64-unicode" does.
exec makensis "-XTarget amd64-unicode" "$@"
