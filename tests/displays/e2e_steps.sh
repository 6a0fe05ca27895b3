# The steps shared by the tests and scripts that drive the program under Wine (sourced, after
# tests/test_steps.sh is sourced by this file): the titles of the program's windows, the start of a
# demonstration case from the "Run Type" dialog (its 3-D view of the surfaces and its grid pictures
# closed) up to the progress log, a wait for lines of DIAG.TXT in the working folder, and a colour count
# in a screenshot. Expects $program (the program, as Wine names it), $driver and $work. A failure ends
# the wineserver too.
source "$(dirname "${BASH_SOURCE[0]}")/../test_steps.sh"
on_fail() { wineserver -k 2>/dev/null; }
MAIN="  DSMC Visual Program QR4T for Three-Dimensional Flows"
LOG="Progressive Log of the Current DSMC Computation"
FLOW_BAR="Flowfield property in plane normal to"
SURFACE_BAR="Distribution over Surfaces of"
VIEW="POSITION:- Arrow Keys   SIZE:- Right Mouse Button  ORIENTATION:- Left Mouse Button"
DIVISIONS_PICTURE="Flowfield Divisions and Elements in Specified Planes"
CELLS_PICTURE="Flowfield Cells (Some elements are partly inside the surface)"
# The two paused displays, opened by "Pause Program for Detailed Plot" on the flowfield or surface bar.
SECTION="Distribution of Flowfield Properties (Uniform over each Computational Cell)"
SURFACE_WINDOW="Distribution of Surface Properties (Uniform over each Surface Triangle)"
# The radio buttons of the "Run Type" dialog that start the three demonstrations and that continue a run.
DELTA_WING=IDC_CHOICE_3
VACUUM_SYSTEM=IDC_CHOICE_4
REENTRY_VEHICLE=IDC_CHOICE_5
CONTINUE_RUN=IDC_CHOICE_1

# Starts a case from the "Run Type" dialog (the radio button $1) and answers its set-up until the
# progress log shows; each window of the set-up is waited for up to $2 seconds (180 when not given).
start_case() {
    local radio=$1 seconds=${2:-180}
    drive start "$program" wait "Run Type" 60 radio "$radio" press IDOK
    drive wait "$VIEW" "$seconds" close
    drive wait "$DIVISIONS_PICTURE" "$seconds" close
    drive wait "$CELLS_PICTURE" "$seconds" close
    drive wait "Initialization Complete" "$seconds" press IDOK wait "$LOG" 60
}

# The number of lines of DIAG.TXT with $1; await_lines waits up to 5 minutes until there are at least $2.
count() { grep -c "$1" DIAG.TXT 2>/dev/null || true; }
await_lines() {
    for _ in $(seq 600); do
        [ "$(count "$1")" -ge "$2" ] && return 0
        sleep 0.5
    done
    fail "DIAG.TXT has $(count "$1") lines with \"$1\", expected $2"
}

# Pixels of a colour (ImageMagick name or #RRGGBB) in the rectangle $crop (WxH+X+Y) of screenshot $1.
count_colour() {
    # Other colours go to a mark first, so that black and white themselves can be counted.
    convert "$work/$1.png" -crop "$crop" +repage -fill "#123457" +opaque "$2" -fill white -opaque "$2" \
        -fill black -opaque "#123457" -format "%[fx:round(mean*w*h)]" info: || fail "cannot read $1.png"
}
