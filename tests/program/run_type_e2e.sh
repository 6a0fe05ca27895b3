#!/usr/bin/env bash
# The program under Wine, driven by the UI driver as a person would: the "Run Type" dialog, the
# information pages, a new run of a small case, then a continued run from its restart set.
# Usage: run_type_e2e.sh <qr4t.exe> <uidriver.exe> <folder with QR4TD.DM1 and QR4SD.DM1> <work folder>
set -u
program=$(winepath -w "$1")
driver=$2
case_dir=$3
work=$4
source "$(dirname "$0")/../displays/e2e_steps.sh"

rm -rf "$work" && mkdir -p "$work/run" && cp "$case_dir/QR4TD.DM1" "$case_dir/QR4SD.DM1" "$work/run/"
cd "$work/run" || fail "no work folder"

# About the program: a page, then the "Run Type" dialog again; then the Delta Wing case (here the small
# case under its file names).
drive start "$program" wait "Run Type" 60
shot run_type
drive wait "Run Type" radio IDC_CHOICE_6 press IDOK wait "Type of Information" 30
shot type_of_information
drive wait "Type of Information" radio IDC_CHOICE_3 press IDOK wait "The QR4T Program" 30
shot information_page
drive wait "The QR4T Program" press IDOK wait "Run Type" 30 radio "$DELTA_WING" press IDOK
# The case has no surfaces: the cells picture comes (no divisions picture); closing it goes on.
drive wait "$CELLS_PICTURE" 120 sleep 1500
shot cells_picture
drive wait "$CELLS_PICTURE" close gone "$CELLS_PICTURE" 30
drive file DSCELLS.BMP 30
identify DSCELLS.BMP >/dev/null 2>&1 || fail "DSCELLS.BMP is not a picture ImageMagick can read"
# The initial state ends with a message box that waits for the user.
drive wait "Initialization Complete" 120
shot initialization_complete
drive wait "Initialization Complete" press IDOK
drive wait "$LOG" 120
drive file QR4TP.RES 60 sleep 3000
shot progress_log
drive wait "$MAIN" close gone "$MAIN" 30
grep -q "INITIAL STATE SET WITH" DIAG.TXT || fail "no initial state in DIAG.TXT"
grep -q "^ TIME" DIAG.TXT || fail "no pass of the loop in DIAG.TXT"
[ -s QR4TV2.RES ] || fail "no restart set"

# "Continue the Current Run" reads the set and goes on.
passes=$(grep -c '^ TIME' DIAG.TXT)
drive start "$program" wait "Run Type" 60 radio "$CONTINUE_RUN" press IDOK
drive wait "$LOG" 120 sleep 2000
drive wait "$MAIN" close gone "$MAIN" 30
grep -q "INITIAL STATE" DIAG.TXT && fail "the continued run set an initial state"
grep -q "^ TIME" DIAG.TXT || fail "the continued run made no pass"

# "Continue the Current Run" in an empty folder: a fatal stop used to end the program with status 1 and
# nothing on the screen. A message box names the missing restart file; once it is answered the
# program ends with status 1.
mkdir -p "$work/empty" && cd "$work/empty" || fail "no empty folder"
STOPPED="QR4T - Program Stopped"
message=$(wine "$driver" start "$program" wait "Run Type" 60 radio "$CONTINUE_RUN" press IDOK wait "$STOPPED" 60 get IDC_MESSAGE_TEXT \
    press IDOK exit 60 1) || fail "no message box naming the missing file, or no status 1: $message"
echo "$message" | grep -q "QR4TP.RES" || fail "the message box does not name QR4TP.RES: $message"
grep -q "QR4TP.RES" DIAG.TXT || fail "DIAG.TXT does not name QR4TP.RES"
echo "run_type_e2e: dialogs, new run ($passes passes), continued run and the stop in an empty folder passed;" \
    "screenshots in $work"
