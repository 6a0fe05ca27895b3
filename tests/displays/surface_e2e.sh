#!/usr/bin/env bash
# The surface display window under Wine, driven by the UI driver as a person would, on the Re-entry
# Vehicle case after its first output: ticking "Pause Program for Detailed Plot" of the surface toolbar
# opens the window with its four dialogs and the bars give way; the time-step loop stays paused while it
# is open; streamline starts are set in the grid spins and the counter advanced until the black
# streamline shows in the picture (without a valid start it goes back; a counter of 21 shows 20 and the
# limit message; back at 0 the same start is valid again); a range and the log scale are reset by another
# property; a triangle of surface 1 is selected, its values shown and its black pixels counted; an index
# beyond the surface zeroes the digits; closing brings the bars back with the box clear and the run goes
# on without a toolkit error or a lost molecule. Screenshots are kept
# beside the test's output.
# Usage: surface_e2e.sh <qr4t.exe> <uidriver.exe> <folder with the demonstration data sets> <work folder>
set -u
program=$(winepath -w "$1")
driver=$2
demo_dir=$3
work=$4
source "$(dirname "$0")/e2e_steps.sh"
WINDOW=$SURFACE_WINDOW
STREAMLINES="Streamline Counter"
OPTIONS="Close Window to Resume Calculation  Hardcopy by 'Prt Sc' Key"
PROPERTY="Surface Property Displayed"
TRIANGLE="This triangle is colored black in the display."
field() { wine "$driver" dialog "$1" 5 get "$2" | tr -d '\r' | sed 's/^ *//; s/ *$//'; }
# True when the text is a number other than 0.
nonzero() { awk -v v="$1" 'BEGIN { exit !(v ~ /[0-9]/ && v + 0 != 0) }'; }
# Waits until field $2 of the dialog showing $1 reads $3 (the window's loop reads the dialogs when a
# message wakes it: a click in the window is sent first).
await_field() {
    local value=""
    for _ in $(seq 40); do
        drive wait "$WINDOW" 5 click left 100 100
        value=$(field "$1" "$2")
        [ "$value" = "$3" ] && return 0
        sleep 0.25
    done
    fail "field $2 beside \"$1\" shows \"$value\", expected \"$3\""
}

rm -rf "$work" && mkdir -p "$work/dm3" || fail "no work folder $work"
cd "$work/dm3" && cp "$demo_dir"/* . || fail "no run folder"
# The case as it is, with outputs five times as often (0.2 reference times of 2 samples each, the same
# sampling interval), so that the first output comes after some 40 passes instead of 200.
sed -i 's/^1\.\( *output interval in reference times\)/0.2\1/; s/^10\( *samples in each output interval\)/2 \1/' \
    QR4TD.DM3
grep -q "^0.2 .*output interval" QR4TD.DM3 && grep -q "^2 .*samples in each output" QR4TD.DM3 ||
    fail "QR4TD.DM3 has no output interval to shorten"
start_case "$REENTRY_VEHICLE"
await_lines "DTM changes from" 1

# ---- opening: the window and its four dialogs; the bars are gone and the run waits
# The tick reaches the program only while it polls between two passes (a busy machine may make the
# driver give up on it), so it is given again until the window shows.
opened=""
for _ in $(seq 6); do
    wine "$driver" dialog "$SURFACE_BAR" 30 check IDC_SURF_PAUSE 1 >/dev/null 2>&1
    wine "$driver" wait "$WINDOW" 20 >/dev/null 2>&1 && opened=1 && break
done
[ -n "$opened" ] || fail "ticking \"Pause Program for Detailed Plot\" opens no window"
for label in "$STREAMLINES" "$OPTIONS" "$PROPERTY" "$TRIANGLE"; do
    wine "$driver" dialog "$label" 30 >/dev/null || fail "no dialog shows \"$label\""
done
wine "$driver" dialog "Output Units" 1 2>/dev/null && fail "the \"Output Units\" bar is still shown"
times=$(count "^ TIME")
sleep 3
[ "$(count "^ TIME")" = "$times" ] || fail "the run went on while the window was open"

# ---- a streamline in the picture: a start is traced only in a cell of at least 10 samples, so the starts
# lie in the dense gas before the nose (the free stream upstream holds too few samples
# this early and gives an empty streamline); each valid start is traced until the black streamline shows.
read -r l t r b <<<"$(wine "$driver" wait "$WINDOW" 5 rect | tr -d '\r')"
# The client area, without the caption above it.
crop="$((r - l - 4))x$((b - t - 30))+$((l + 2))+$((t + 28))"
echo "surface_e2e: window at $l $t $r $b, picture $crop"
shot surface_window_opened
black_before=$(count_colour surface_window_opened black)
valid=""
traced=0
for start in "6 15 1 2 1 1" "6 15 1 1 1 1" "6 14 1 2 2 1" "5 15 1 2 1 1" "7 15 1 1 2 1"; do
    read -r dx dy dz ex ey ez <<<"$start"
    drive dialog "$STREAMLINES" 5 set IDC_STREAM_DIVISION_X "$dx" set IDC_STREAM_DIVISION_Y "$dy" set IDC_STREAM_DIVISION_Z "$dz" set IDC_STREAM_ELEMENT_X "$ex" set IDC_STREAM_ELEMENT_Y "$ey" \
        set IDC_STREAM_ELEMENT_Z "$ez"
    drive wait "$WINDOW" 5 click left 100 100 sleep 500
    [ "$(field "$STREAMLINES" IDC_STREAM_MESSAGE)" = "This location is a valid streamline startpoint." ] || continue
    traced=$((traced + 1))
    drive dialog "$STREAMLINES" 5 set IDC_STREAM_COUNTER "$traced"
    # The start of the next slot is the same element: refused once the streamline is traced.
    await_field "$STREAMLINES" IDC_STREAM_MESSAGE "A streamline has been set through this location."
    [ "$(field "$STREAMLINES" IDC_STREAM_COUNTER)" = "$traced" ] || fail "the counter reads $(field "$STREAMLINES" IDC_STREAM_COUNTER) after the trace"
    shot surface_window_streamline
    black_streamline=$(count_colour surface_window_streamline black)
    if [ "$black_streamline" -gt $((black_before + 30)) ]; then
        valid=$start
        break
    fi
done
[ -n "$valid" ] || fail "no start gives a streamline in the picture ($traced traced, $black_before black pixels)"
echo "surface_e2e: streamline from division and element $valid: black pixels $black_before -> $black_streamline"
# Without a valid start an advanced counter goes back.
drive dialog "$STREAMLINES" 5 set IDC_STREAM_COUNTER $((traced + 1))
await_field "$STREAMLINES" IDC_STREAM_COUNTER "$traced"

# ---- the range and the log scale, then another property through its spin, which resets them
drive dialog "$OPTIONS" 5 set IDC_S3D_RANGE_HIGH 5 set IDC_S3D_LOG_SPIN 1
for _ in $(seq 40); do
    drive wait "$WINDOW" 5 click left 100 100
    [ "$(wine "$driver" dialog "$OPTIONS" 5 state IDC_S3D_LOG_CHECK | tr -d '\r ')" = "1" ] && break
    sleep 0.25
done
[ "$(wine "$driver" dialog "$OPTIONS" 5 state IDC_S3D_LOG_CHECK | tr -d '\r ')" = "1" ] || fail "the log spin does not tick \"Log. Scale\""
drive dialog "$PROPERTY" 5 set IDC_S3D_PROPERTY_SPIN -2
await_field "$OPTIONS" IDC_S3D_RANGE_HIGH "0"
[ "$(field "$OPTIONS" IDC_S3D_LOG_SPIN)" = "0" ] && [ "$(wine "$driver" dialog "$OPTIONS" 5 state IDC_S3D_LOG_CHECK | tr -d '\r ')" = "0" ] ||
    fail "a new property leaves the log scale on"
[ "$(wine "$driver" dialog "$PROPERTY" 5 state IDC_S3D_NUMBER_FLUX | tr -d '\r ')" = "1" ] || fail "\"Number Flux\" is not checked"
[ "$(field "$PROPERTY" IDC_S3D_HELP)" = "All species in the case of a gas mixture." ] ||
    fail "the help line reads \"$(field "$PROPERTY" IDC_S3D_HELP)\""
drive dialog "$PROPERTY" 5 set IDC_S3D_PROPERTY_SPIN -3

# ---- a triangle of surface 1 hit by molecules and large enough to show black in the picture (the first
# of a list), then an index beyond the surface
selected=""
for index in 1 2 4 8 16 32 64 128 256 512 1024; do
    drive dialog "$TRIANGLE" 5 set IDC_TRI_SURFACE 1 set IDC_TRI_TEN_THOUSANDS $((index / 10000)) set IDC_TRI_THOUSANDS $((index / 1000 % 10)) \
        set IDC_TRI_HUNDREDS $((index / 100 % 10)) set IDC_TRI_TENS $((index / 10 % 10)) set IDC_TRI_UNITS $((index % 10))
    drive wait "$WINDOW" 5 click left 100 100 sleep 700
    sample=$(field "$TRIANGLE" IDC_TRI_SAMPLE_SIZE)
    nonzero "$sample" || continue
    shot surface_window_triangle
    black_triangle=$(count_colour surface_window_triangle black)
    if [ "$black_triangle" -gt $((black_streamline + 30)) ]; then
        selected=$index
        break
    fi
done
[ -n "$selected" ] || fail "no triangle of surface 1 in the list shows a sample and black pixels"
echo "surface_e2e: triangle $selected of surface 1: sample size $sample, pressure $(field "$TRIANGLE" IDC_TRI_PRESSURE)," \
    "black pixels $black_streamline -> $black_triangle"
drive wait "$WINDOW" 5 key 38 sleep 1000
shot surface_window_streamline_triangle
drive dialog "$TRIANGLE" 5 set IDC_TRI_TEN_THOUSANDS 9
await_field "$TRIANGLE" IDC_TRI_TEN_THOUSANDS "0"
nonzero "$(field "$TRIANGLE" IDC_TRI_SAMPLE_SIZE)" && fail "the sample size of no triangle reads $(field "$TRIANGLE" IDC_TRI_SAMPLE_SIZE)"

# ---- the counter limit, then the counter back at 0, where the first start is valid again
drive dialog "$STREAMLINES" 5 set IDC_STREAM_DIVISION_X 0 set IDC_STREAM_COUNTER 21
await_field "$STREAMLINES" IDC_STREAM_COUNTER "20"
[ "$(field "$STREAMLINES" IDC_STREAM_MESSAGE)" = "The maximum limit of 20 streamline has been set" ] ||
    fail "the limit message reads \"$(field "$STREAMLINES" IDC_STREAM_MESSAGE)\""
drive dialog "$STREAMLINES" 5 set IDC_STREAM_COUNTER 0
read -r dx dy dz ex ey ez <<<"$valid"
drive dialog "$STREAMLINES" 5 set IDC_STREAM_DIVISION_X "$dx"
await_field "$STREAMLINES" IDC_STREAM_MESSAGE "This location is a valid streamline startpoint."

# ---- closing: the bars come back, the pause box is clear, and the run goes on
drive wait "$WINDOW" 5 close gone "$WINDOW" 30
for label in "Output Units" "$FLOW_BAR" "$SURFACE_BAR"; do
    wine "$driver" dialog "$label" 30 >/dev/null || fail "\"$label\" is not shown again"
done
[ "$(wine "$driver" dialog "$SURFACE_BAR" 5 state IDC_SURF_PAUSE | tr -d '\r ')" = "0" ] ||
    fail "the pause box is still ticked"
wine "$driver" dialog "$STREAMLINES" 1 2>/dev/null && fail "the window's dialogs are still shown"
await_lines "^ TIME" $((times + 2))
shot surface_window_closed
drive wait "$MAIN" close gone "$MAIN" 30
grep -q "Error=" DIAG.TXT && fail "DIAG.TXT holds a toolkit error: $(grep -m 3 "Error=" DIAG.TXT)"
grep -iq "lost\|outside" DIAG.TXT && fail "DIAG.TXT reports lost molecules: $(grep -i -m 3 "lost\|outside" DIAG.TXT)"
echo "surface_e2e: passed; screenshots in $work"
