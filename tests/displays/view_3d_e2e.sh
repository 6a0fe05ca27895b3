#!/usr/bin/env bash
# The OpenGL view of the surfaces after data input, as the screen of Xvfb shows it under Wine: for the
# Delta Wing case the window shows the wing in red on white (read from a screenshot), arrow keys and a
# left drag change the picture, and closing the window lets the set-up go on; the Vacuum System case's
# view shows its surfaces in their colours. Screenshots are kept beside the test's output.
# Usage: view_3d_e2e.sh <qr4t.exe> <uidriver.exe> <folder with the demonstration data sets> <work folder>
set -u
program=$(winepath -w "$1")
driver=$2
demo_dir=$3
work=$4
source "$(dirname "$0")/e2e_steps.sh"

# Starts case $1 from the "Run Type" dialog (radio button $2), waits for its view and takes screenshot $3
# of it; sets $crop to the view window's rectangle.
open_view() {
    mkdir -p "$work/dm$1" && cd "$work/dm$1" && cp "$demo_dir"/* . || fail "no run folder for case $1"
    wine "$program" &
    pid=$!
    drive wait "Run Type" 60 radio "$2" press IDOK wait "$VIEW" 120 sleep 1500
    read -r l t r b <<<"$(wine "$driver" wait "$VIEW" 5 rect | tr -d '\r')"
    # The client area, without the caption above it.
    crop="$((r - l - 4))x$((b - t - 30))+$((l + 2))+$((t + 28))"
    shot "$3"
}

# Closes the view; the set-up goes on to the division pictures, where the program is ended.
close_view() {
    drive wait "$VIEW" 5 close gone "$VIEW" 30 wait "Flowfield Divisions and Elements in Specified Planes" 180
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}

rm -rf "$work" && mkdir -p "$work" || fail "no work folder $work"

# ---- Delta Wing: the red wing on white
open_view 1 "$DELTA_WING" view_dm1
red=$(count_colour view_dm1 red)
white=$(count_colour view_dm1 white)
echo "view_3d_e2e: Delta Wing view $crop: $red red, $white white pixels"
((red > 2000)) || fail "the Delta Wing view shows no red wing ($red red pixels)"
((white * 2 > red + white && white > 300000)) || fail "the Delta Wing view is not on white ($white white pixels)"

# ---- keys and a drag redraw it: the picture changes and keeps the wing
drive wait "$VIEW" 5 key 38 key 38 key 39 drag 1 300 300 360 320 sleep 1000
shot view_dm1_moved
changed=$(compare -metric AE "$work/view_dm1.png" "$work/view_dm1_moved.png" null: 2>&1 | cut -d' ' -f1)
red_moved=$(count_colour view_dm1_moved red)
echo "view_3d_e2e: after the keys and the drag $changed pixels changed, $red_moved red"
((changed > 1000)) || fail "keys and a drag did not change the view ($changed pixels)"
((red_moved > 500)) || fail "the wing left the view after a small turn ($red_moved red pixels)"
close_view

# ---- Vacuum System: its surfaces in their colours
open_view 2 "$VACUUM_SYSTEM" view_dm2
coloured=0
for c in red yellow lime cyan blue; do
    coloured=$((coloured + $(count_colour view_dm2 "$c")))
done
echo "view_3d_e2e: Vacuum System view $crop: $coloured pixels in surface colours"
((coloured > 2000)) || fail "the Vacuum System view shows no surfaces ($coloured pixels)"
close_view
echo "view_3d_e2e: passed; screenshots in $work"
