# The steps shared by the display tests under Wine (sourced): the titles of the main window and the
# progress log, a failure that ends the test (and the wineserver), a screenshot of the Xvfb screen into
# the work folder, a UI-driver call that must succeed, and the start of a demonstration case from the
# "Run Type" dialog (its 3-D view of the surfaces and its grid pictures closed) up to the progress log,
# and a wait for lines of DIAG.TXT in the working folder. Expects $program, $driver and $work.
MAIN="  DSMC Visual Program QR4T for Three-Dimensional Flows"
LOG="Progressive Log of the Current DSMC Computation"
FLOW_BAR="Flowfield property in plane normal to"
VIEW="POSITION:- Arrow Keys   SIZE:- Right Mouse Button  ORIENTATION:- Left Mouse Button"
DIVISIONS_PICTURE="Flowfield Divisions and Elements in Specified Planes"
CELLS_PICTURE="Flowfield Cells (Some elements are partly inside the surface)"
fail() { echo "FAIL: $*" >&2; wineserver -k 2>/dev/null; exit 1; }
shot() { import -window root "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
drive() { wine "$driver" "$@" || fail "uidriver $*"; }

# Starts a case from the "Run Type" dialog and answers its set-up until the progress log shows.
start_case() {
    local radio=$1
    drive start "$program" wait "Run Type" 60 radio "$radio" press 1
    drive wait "$VIEW" 120 close
    drive wait "$DIVISIONS_PICTURE" 180 close
    drive wait "$CELLS_PICTURE" 180 close
    drive wait "Initialization Complete" 180 press 1 wait "$LOG" 60
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
