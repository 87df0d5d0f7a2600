#!/usr/bin/env bash
# Makes drive X: of the test prefix another spelling of the user's profile
# folder (a symbolic link in dosdevices), for the tests that check that a
# folder is judged by its identity, not by its name.
set -eu
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix of this test run}"
profile=""
for folder in "$WINEPREFIX"/drive_c/users/*; do
  [ "$(basename "$folder")" = Public ] || { profile=$folder; break; }
done
[ -n "$profile" ] || { echo "no user profile in $WINEPREFIX" >&2; exit 1; }
ln -sfn "$profile" "$WINEPREFIX/dosdevices/x:"
