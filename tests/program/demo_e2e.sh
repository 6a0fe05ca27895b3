#!/usr/bin/env bash
# The demonstration cases under Wine, driven by the UI driver as a person would: each is picked in the
# "Run Type" dialog, its pictures of divisions and cells are looked at and closed, "DSCELLS.BMP" must be
# a picture ImageMagick reads, the start message is answered and some passes run. Screenshots of the
# pictures and of the running program are kept in the work folder. Each case is then continued from the
# restart set it wrote.
# Usage: demo_e2e.sh <qr4t.exe> <uidriver.exe> <folder with the demonstration data sets> <work folder>
#                    <case>...   (a case is name:radio:surfaces, surfaces 1 when it has a divisions picture)
set -u
program=$(winepath -w "$1")
driver=$2
demo_dir=$3
work=$4
shift 4
MAIN="  DSMC Visual Program QR4T for Three-Dimensional Flows"
DIVISIONS_PICTURE="Flowfield Divisions and Elements in Specified Planes"
CELLS_PICTURE="Flowfield Cells (Some elements are partly inside the surface)"
LOG="Progressive Log of the Current DSMC Computation"
VIEW="POSITION:- Arrow Keys   SIZE:- Right Mouse Button  ORIENTATION:- Left Mouse Button"
PASSES=20
CONTINUED_PASSES=5
fail() { echo "FAIL: $*" >&2; wineserver -k 2>/dev/null; exit 1; }
shot() { import -window root "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
drive() { wine "$driver" "$@" || fail "uidriver $*"; }

# Waits up to 2 minutes until DIAG.TXT shows this many passes; passes holds the count.
wait_for_passes() {
    passes=0
    for _ in $(seq 240); do
        passes=$(grep -c "^ TIME" DIAG.TXT 2>/dev/null)
        passes=${passes:-0}
        [ "$passes" -ge "$1" ] && return 0
        sleep 0.5
    done
    return 1
}
check_diag() {
    grep -iq "lost\|outside" DIAG.TXT && fail "$1: DIAG.TXT reports lost or outside molecules: \
$(grep -i -m 3 "lost\|outside" DIAG.TXT)"
    grep -q "Error=" DIAG.TXT && fail "$1: DIAG.TXT holds a toolkit error: $(grep -m 3 "Error=" DIAG.TXT)"
    return 0
}

rm -rf "$work" && mkdir -p "$work" || fail "no work folder $work"
for case in "$@"; do
    IFS=: read -r name radio surfaces <<<"$case"
    start=$SECONDS
    run="$work/$name"
    mkdir -p "$run" && cp "$demo_dir"/* "$run/" && cd "$run" || fail "$name: no run folder"

    drive start "$program" wait "Run Type" 60 radio "$radio" press 1
    if [ "$surfaces" = 1 ]; then
        # The surfaces in 3-D after the data are read: turned with a left drag, moved with an arrow key,
        # then closed.
        drive wait "$VIEW" 120 sleep 1500 drag 1 500 300 540 320 key 38 sleep 1000
        shot "${name}_view"
        drive wait "$VIEW" close gone "$VIEW" 30
        drive wait "$DIVISIONS_PICTURE" 120
        echo "demo_e2e: $name: divisions picture after $((SECONDS - start)) s"
        drive sleep 1000
        shot "${name}_divisions"
        drive wait "$DIVISIONS_PICTURE" close gone "$DIVISIONS_PICTURE" 30
    fi
    drive wait "$CELLS_PICTURE" 120
    echo "demo_e2e: $name: cells picture after $((SECONDS - start)) s"
    drive sleep 1000
    shot "${name}_cells"
    drive wait "$CELLS_PICTURE" close gone "$CELLS_PICTURE" 30 file DSCELLS.BMP 30
    identify DSCELLS.BMP >/dev/null 2>&1 || fail "$name: DSCELLS.BMP is not a picture ImageMagick can read"

    drive wait "Initialization Complete" 120
    setup=$((SECONDS - start))
    drive wait "Initialization Complete" press 1 wait "$LOG" 60
    wait_for_passes $PASSES || fail "$name: only $passes passes in DIAG.TXT after 2 minutes"
    shot "${name}_running"
    drive wait "$MAIN" close gone "$MAIN" 30

    grep -q "INITIAL STATE SET WITH" DIAG.TXT || fail "$name: no initial state in DIAG.TXT"
    check_diag "$name"
    cp DIAG.TXT DIAG_START.TXT
    echo "demo_e2e: $name: set up in $setup s, pictures, DSCELLS.BMP and $passes passes in $((SECONDS - start)) s"

    # The run continues from its restart set: "Continue the Current Run" reads the set and moves on.
    drive start "$program" wait "Run Type" 60 radio 1005 press 1 wait "$LOG" 120
    wait_for_passes $CONTINUED_PASSES || fail "$name: only $passes passes after continuing"
    shot "${name}_continued"
    drive wait "$MAIN" close gone "$MAIN" 30
    grep -q "NM at restart" DIAG.TXT || fail "$name: the continued run read no restart set"
    check_diag "$name (continued)"
    echo "demo_e2e: $name: continued from its restart set for $passes passes"
done
echo "demo_e2e: passed; screenshots in $work"
