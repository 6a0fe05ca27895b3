#!/usr/bin/env bash
# The display control dialogs under Wine, driven by the UI driver as a person would. The Delta Wing
# case runs: the progress log, the "Output Units" bar, the flowfield and surface toolbars and the
# forces dialog must not overlap (a screenshot is kept); after the first output the flowfield picture
# (legend bar and plane), the history and the forces show, "White B'grnd" turns the legend strip white
# and "Mach Number" clears "Log Scale" and the range spins; "Eng. (US)" shows the English toolbar and
# forces dialog with the moment point converted, and a property is picked from its list. The Vacuum
# System case (its stream at rest) refuses "Dimensionless" once with "Option not available".
# Usage: displays_e2e.sh <qr4t.exe> <uidriver.exe> <folder with the demonstration data sets> <work folder>
set -u
program=$(winepath -w "$1")
driver=$2
demo_dir=$3
work=$4
source "$(dirname "$0")/e2e_steps.sh"

rm -rf "$work" && mkdir -p "$work/dm1" "$work/dm2" || fail "no work folder $work"

# ---- Delta Wing: layout and the English unit system
cd "$work/dm1" && cp "$demo_dir"/* . || fail "no run folder"
start_case 1023
for _ in $(seq 240); do
    [ "$(grep -c '^ TIME' DIAG.TXT 2>/dev/null)" -ge 5 ] && break
    sleep 0.5
done
rects=()
for find in "wait:$LOG" "dialog:Output Units" "dialog:Flowfield property in plane normal to" \
            "dialog:Distribution over Surfaces of" "dialog:Force (N)"; do
    r=$(wine "$driver" "${find%%:*}" "${find#*:}" 30 rect | tr -d '\r') || fail "no window for $find"
    echo "displays_e2e: ${find#*:}: $r"
    rects+=("$r")
done
for ((a = 0; a < ${#rects[@]}; ++a)); do
    for ((b = a + 1; b < ${#rects[@]}; ++b)); do
        read -r l1 t1 r1 b1 <<<"${rects[a]}"
        read -r l2 t2 r2 b2 <<<"${rects[b]}"
        if ((l1 < r2 && l2 < r1 && t1 < b2 && t2 < b1)); then
            fail "windows $a (${rects[a]}) and $b (${rects[b]}) overlap"
        fi
    done
done
# The main window's client: every bar lies within 1020 x 718 pixels of it.
shot dm1_running

# ---- The live pictures after the first output: the flowfield picture with its legend strip in the
# right half, the molecule number history at the top, the forces.
for _ in $(seq 240); do
    grep -q "DTM changes from" DIAG.TXT 2>/dev/null && break
    sleep 0.5
done
grep -q "DTM changes from" DIAG.TXT || fail "no output in DIAG.TXT"
sleep 3
read -r ml mt mr mb <<<"$(wine "$driver" wait "$MAIN" 10 rect | tr -d '\r')" || fail "no main window"
W=$((mr - ml)) H=$((mb - mt))
# Distinct colours in a box of the screenshot (fractions of the main window: x0 x1 from the left, y0 y1
# up from the bottom), and its mean brightness 0..1.
box_args() { awk -v l="$ml" -v b="$mb" -v W="$W" -v H="$H" -v x0="$1" -v x1="$2" -v y0="$3" -v y1="$4" \
    'BEGIN { printf "%dx%d+%d+%d", (x1 - x0) * W, (y1 - y0) * H, l + x0 * W, b - y1 * H }'; }
colours() { convert "$work/$1.png" -crop "$(box_args "$2" "$3" "$4" "$5")" -unique-colors txt:- | grep -c '^[0-9]'; }
brightness() { convert "$work/$1.png" -crop "$(box_args "$2" "$3" "$4" "$5")" -colorspace Gray -format '%[fx:mean]' info:; }
shot dm1_pictures
bar=$(colours dm1_pictures 0.56 0.95 0.075 0.085)
[ "$bar" -ge 60 ] || fail "the legend's colour bar shows $bar colours"
plane=$(colours dm1_pictures 0.52 0.98 0.15 0.6)
[ "$plane" -ge 10 ] || fail "the flowfield plane shows $plane colours"
history=$(colours dm1_pictures 0.40 0.69 0.78 0.97)
[ "$history" -ge 3 ] || fail "the history plot shows $history colours"
force=$(wine "$driver" dialog "Force (N)" 10 get 1007 | tr -d '\r ')
[ -n "$force" ] || fail "the forces dialog shows no force"
dark=$(brightness dm1_pictures 0.505 0.52 0.01 0.04)
awk -v v="$dark" 'BEGIN { exit !(v < 0.2) }' || fail "the legend strip is not dark ($dark)"

# "White B'grnd": the strip turns white.
drive dialog "Flowfield property in plane normal to" check 1079 1 sleep 3000
shot dm1_white
light=$(brightness dm1_white 0.505 0.52 0.01 0.04)
awk -v v="$light" 'BEGIN { exit !(v > 0.8) }' || fail "the legend strip is not white ($light)"

# A new property ("Mach Number") clears "Log Scale" and both range spins.
drive dialog "Flowfield property in plane normal to" check 1081 1 sleep 1500 set 1001 3 set 1002 -2 sleep 1500
drive dialog "Flowfield property in plane normal to" select 1157 11 sleep 2000
state=$(wine "$driver" dialog "Flowfield property in plane normal to" 10 state 1081 get 1001 get 1002 | tr -d '\r ' |
    tr '\n' ' ')
[ "$state" = "0 0 0 " ] || fail "after \"Mach Number\" log scale, low and high show \"$state\", expected 0 0 0"
shot dm1_mach

# The moment point 1 m becomes 3.281 ft in the English forces dialog, which is shown with its toolbar.
drive dialog "Force (N)" set 1008 1.0 dialog "Eng. (US)" radio 1006
point=""
for _ in $(seq 60); do
    point=$(wine "$driver" dialog "Force (lbf)" 1 get 1008 2>/dev/null | tr -d '\r ')
    [ "$point" = "3.281" ] && break
    sleep 0.5
done
[ "$point" = "3.281" ] || fail "the English moment point shows \"$point\", expected 3.281"
shot dm1_english
# A property is picked from the English toolbar's list as a person would.
chosen=$(wine "$driver" dialog "ft" 30 select 1157 3 get 1157 | tr -d '\r') || fail "no English toolbar"
[ "$chosen" = "Density" ] || fail "the flowfield list shows \"$chosen\" after picking item 3"
drive wait "$MAIN" close gone "$MAIN" 30

# ---- Vacuum System: no dimensionless system with the stream at rest
cd "$work/dm2" && cp "$demo_dir"/* . || fail "no run folder"
start_case 1069
drive dialog "Dimensionless" radio 1023 wait "Option not available" 60
shot dm2_refused
drive wait "Option not available" 5 press 1 gone "Option not available" 30 sleep 3000 gone "Option not available" 1
drive dialog "Metric  (SI)" 10
drive wait "$MAIN" close gone "$MAIN" 30
echo "displays_e2e: passed; screenshots in $work"
