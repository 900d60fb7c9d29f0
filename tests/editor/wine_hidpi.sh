#!/bin/sh
# The Windows editor on a 192-DPI screen under Wine: sets Wine's LogPixels to 192 in the
# prefix (a prefix of this test's own, so no other test sees that density), then runs
# velmora-editorcheck.exe's scaled check, which expects the window at 998 x 972 and equal to
# the headless editor at 2x.
#   wine_hidpi.sh EDITORCHECK.exe PLUGIN.dll PICTURE.png
set -eu
exe=$1
dll=$2
png=$3
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f >/dev/null 2>&1
exec wine "$exe" "$dll" --scaled --png "$png"
