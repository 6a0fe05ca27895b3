#!/usr/bin/env bash
# A screenshot of the test dialog under Xvfb: show_test_dialog.exe shows it, the UI driver waits for it,
# ImageMagick captures the screen, and the capture must not be blank (the dialog's grey face, its
# texts, the white picture with its lines: many colours). The PNG stays in the work folder to be
# looked at. Usage: test_dialog_screenshot.sh <show_test_dialog.exe> <uidriver.exe> <work folder>
# [<dialog title> <picture name> [<last driver step> [<program argument>]]] (other dialogs shown the
# same way, such as the grid test dialog; the last step ends the program, "press IDCANCEL" by default).
set -u
program=$1
driver=$2
work=$3
title=${4:-QR4T Test Dialog}
name=${5:-test_dialog}
last=${6:-press IDCANCEL}
argument=${7:-}
source "$(dirname "$0")/../test_steps.sh"
on_fail() { [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; }

rm -rf "$work" && mkdir -p "$work"
wine "$program" $argument &
pid=$!
drive wait "$title" 60 sleep 1500
shot="$work/$name.png"
import -window root "$shot" || fail "no screen capture"
colours=$(identify -format "%k" "$shot") || fail "the capture is no picture"
echo "$name.png: $colours colours"
[ "$colours" -ge 16 ] || fail "the capture is blank ($colours colours)"
drive wait "$title" $last
wait "$pid" || fail "show_test_dialog.exe ended with status $?"
echo "1 passed, 0 failed"
