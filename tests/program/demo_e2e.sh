#!/usr/bin/env bash
# The demonstration cases under Wine with every result display in use, driven by the UI driver as a
# person would. Each case is picked in the "Run Type" dialog; its surfaces in 3-D are turned with a drag
# and moved with an arrow key, then closed; its pictures of divisions and cells are looked at and
# closed ("DSCELLS.BMP" must be a picture ImageMagick reads); the start message is answered. After the
# first output the live flowfield and surface pictures, the history and the forces are checked, a
# property, the plane and the unit system are changed from the toolbars, and the section display is
# opened: a point reported, a flow-direction line drawn, "D3D0001.BMP" saved (tests/displays/
# control_steps.sh and section_steps.sh). DIAG.TXT must hold no toolkit error and no lost or outside
# molecule. Each case is then continued from the restart set it wrote. Screenshots of every step are
# kept in the work folder. (No display opens a grid window.)
# Usage: demo_e2e.sh <qr4t.exe> <uidriver.exe> <folder with the demonstration data sets> <work folder>
#                    <case>...
# (a case is name:radio of the "Run Type" dialog)
set -u
program=$(winepath -w "$1")
driver=$2
demo_dir=$3
work=$4
shift 4
steps=$(dirname "$0")/../displays
source "$steps/e2e_steps.sh"
source "$steps/control_steps.sh"
source "$steps/section_steps.sh"
CONTINUED_PASSES=5

check_diag() {
    grep -iq "lost\|outside" DIAG.TXT && fail "$1: DIAG.TXT reports lost or outside molecules: \
$(grep -i -m 3 "lost\|outside" DIAG.TXT)"
    grep -q "Error=" DIAG.TXT && fail "$1: DIAG.TXT holds a toolkit error: $(grep -m 3 "Error=" DIAG.TXT)"
    return 0
}

rm -rf "$work" && mkdir -p "$work" || fail "no work folder $work"
for case in "$@"; do
    IFS=: read -r name radio <<<"$case"
    start=$SECONDS
    run="$work/$name"
    mkdir -p "$run" && cp "$demo_dir"/* "$run/" && cd "$run" || fail "$name: no run folder"

    # The surfaces in 3-D after the data are read: turned with a left drag, moved with an arrow key,
    # then closed; then the divisions and the cells.
    drive start "$program" wait "Run Type" 60 radio "$radio" press IDOK
    drive wait "$VIEW" 120 sleep 1500 drag 1 500 300 540 320 key 38 sleep 1000
    shot "${name}_view"
    drive wait "$VIEW" close gone "$VIEW" 30
    drive wait "$DIVISIONS_PICTURE" 120
    echo "demo_e2e: $name: divisions picture after $((SECONDS - start)) s"
    drive sleep 1000
    shot "${name}_divisions"
    drive wait "$DIVISIONS_PICTURE" close gone "$DIVISIONS_PICTURE" 30
    drive wait "$CELLS_PICTURE" 120
    echo "demo_e2e: $name: cells picture after $((SECONDS - start)) s"
    drive sleep 1000
    shot "${name}_cells"
    drive wait "$CELLS_PICTURE" close gone "$CELLS_PICTURE" 30 file DSCELLS.BMP 30
    identify DSCELLS.BMP >/dev/null 2>&1 || fail "$name: DSCELLS.BMP is not a picture ImageMagick can read"
    drive wait "Initialization Complete" 120
    echo "demo_e2e: $name: set up in $((SECONDS - start)) s"
    drive wait "Initialization Complete" press IDOK wait "$LOG" 60

    # The displays while it runs.
    [ "$name" = delta_wing ] && check_layout "$name"
    check_pictures "$name"
    echo "demo_e2e: $name: first output after $((SECONDS - start)) s"
    case $name in
        delta_wing) white_and_mach "$name" ;;
        vacuum_system) pick_property "$name" 3 "Density" ;;
        *) pick_property "$name" 11 "Mach Number" ;;
    esac
    # The point reported lies in gas: at the first output the vacuum system's gas fills only the
    # corner it enters by, and the re-entry vehicle's body covers the middle of its plane.
    case $name in
        vacuum_system) section_tour "$name" 3000 2800 ;;
        reentry_vehicle) section_tour "$name" 5000 2500 ;;
        *) section_tour "$name" ;;
    esac
    change_plane "$name"
    case $name in
        delta_wing) english_units "$name" ;;
        vacuum_system) ratio_refused "$name" && english_units "$name" ;;
        *) ratio_units "$name" ;;
    esac
    drive wait "$MAIN" close gone "$MAIN" 30

    grep -q "INITIAL STATE SET WITH" DIAG.TXT || fail "$name: no initial state in DIAG.TXT"
    check_diag "$name"
    cp DIAG.TXT DIAG_START.TXT
    echo "demo_e2e: $name: displays in use, $(count "^ TIME") passes in $((SECONDS - start)) s"

    # The run continues from its restart set: "Continue the Current Run" reads the set and moves on.
    drive start "$program" wait "Run Type" 60 radio "$CONTINUE_RUN" press IDOK wait "$LOG" 120
    await_lines "^ TIME" $CONTINUED_PASSES
    shot "${name}_continued"
    drive wait "$MAIN" close gone "$MAIN" 30
    grep -q "NM at restart" DIAG.TXT || fail "$name: the continued run read no restart set"
    check_diag "$name (continued)"
    echo "demo_e2e: $name: continued from its restart set, in all $((SECONDS - start)) s"
done
echo "demo_e2e: passed; screenshots in $work"
