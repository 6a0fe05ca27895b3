#!/bin/bash
# The Windows printer (device 10) and metafile (device 11) outputs of the scene tool, read by
# independent readers: Ghostscript renders the print jobs of a PostScript test printer, wmf2svg and
# emf2svg-conv convert the metafiles, rsvg-convert renders their SVG. The same for the live flowfield
# picture that the display code draws (the scene tool's --display), which is also printed through the
# screen driver's hardcopy page (op 20). Win build, under Wine in Xvfb.
#   check_windows_devices.sh HCSCENE DRIVERS_TESTS TOOLKIT_IV_TESTS WORKDIR
# A missing reader is a failure.
mode=wine
exe=$1
tests=$2
dialog_tests=$3
work=$4
source "$(dirname "$0")/reader_checks.sh" "$work"
need_readers gs wmf2svg emf2svg-conv rsvg-convert convert python3
ink() { python3 "$here/ink_grid.py" "$@" | tail -1; python3 "$here/ink_grid.py" "$@" >/dev/null; }

scene --screen screen.png >out.txt || note_failure "screen reference exit $(cat out.txt)"

# Device 11 in its three formats: the readers take each file, and their pictures carry ink where the
# program's own playback of the file does; the playback carries it where the screen does. (wmf2svg
# leaves the fill of open polylines unset, which SVG renderers paint black: its limit is lower.)
suffix=(wmf wmf emf)
limit=(0.70 0.70 0.80)
for f in 0 1 2; do
    m=m$f.${suffix[$f]}
    scene --device 11 --option 27=$f --out "$m" --title Scene >out.txt || note_failure "device 11 format $f exit $(cat out.txt)"
    if [ "$f" = 2 ]; then
        emf2svg-conv -i "$m" -o m$f.svg || note_failure "emf2svg-conv rejects the EMF"
    else
        wmf2svg -o m$f.svg "$m" || note_failure "wmf2svg rejects format $f"
    fi
    rsvg-convert -w 640 -b white -o m$f.png m$f.svg || note_failure "rsvg-convert rejects the SVG of format $f"
    scene --play "$f:$m" --screen play$f.png >out.txt || note_failure "playback of format $f: $(cat out.txt)"
    ink m$f.png play$f.png "${limit[$f]}" 2 || note_failure "reader's picture of format $f differs from the playback"
    ink play$f.png screen.png 0.85 2 || note_failure "playback of format $f differs from the screen reference"
done
head -c 22 m1.wmf | od -An -tx1 | tr -d ' \n' >head.txt
[ "$(cat head.txt)" = "d7cdc69a00000000000004294c1de80300000000b160" ] || note_failure "placeable header $(cat head.txt)"

# The display picture as WMF and EMF. EMF: the reader's picture in the window's colours. WMF: wmf2svg
# paints every fill half transparent in the nearest named colour, so its picture is compared by ink,
# and the program's own playback of the file by colour.
display() { wine "$exe" --display flowfield "$@" >out.txt || note_failure "display $* exit: $(cat out.txt)"; }
colours() { python3 "$here/ink_grid.py" --colour "$1" display.png "$2" 60 >grid.txt || { cat grid.txt; note_failure "$1 differs in colour from the window's picture"; }; }
display --screen display.png
display --device 11 --option 27=0 --out display.wmf
wmf2svg -o display_wmf.svg display.wmf || note_failure "wmf2svg rejects the display's WMF"
rsvg-convert -w 640 -b white -o display_wmf.png display_wmf.svg || note_failure "rsvg-convert rejects the display's WMF SVG"
ink display_wmf.png display.png 0.85 || note_failure "wmf2svg's picture of the display differs from the window's"
scene --play "0:display.wmf" --screen display_play.png >out.txt || note_failure "playback of the display's WMF: $(cat out.txt)"
colours display_play.png 0.85
display --device 11 --option 27=2 --out display.emf
emf2svg-conv -i display.emf -o display_emf.svg || note_failure "emf2svg-conv rejects the display's EMF"
rsvg-convert -w 640 -b white -o display_emf.png display_emf.svg || note_failure "rsvg-convert rejects the display's EMF SVG"
colours display_emf.png 0.85
# Op 20 without a printer: error 1 and a non-zero exit.
if wine "$exe" --display flowfield --print 1 >out.txt; then note_failure "op 20 without a printer exits 0"; fi
grep -q 'Error=   1:' out.txt || note_failure "op 20 without a printer: $(cat out.txt)"

# A metafile in a missing directory: error 1, a non-zero exit and no file.
if scene --device 11 --out 'no_such_directory\x.wmf' >out.txt; then note_failure "missing directory exits 0"; fi
grep -q 'Error=   1:' out.txt || note_failure "missing directory: $(cat out.txt)"

# Device 10 without a printer (the shared prefix has none): error 1 and a non-zero exit.
if scene --device 10 >out.txt; then note_failure "device 10 without a printer exits 0"; fi
grep -q 'Error=   1:' out.txt || note_failure "device 10 without a printer: $(cat out.txt)"

# The test printer, in a prefix of its own: Wine's PostScript driver with our PPD (Letter, A4, 300 dpi),
# on a port that names a file, so that every job lands in job.ps without a dialog.
source "$here/../../scripts/env.sh"
qr4t_wine_prefix "$work/printer"
spool="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
mkdir -p "$spool" && cp "$here/qr4t_test.ppd" "$spool/"
wineserver -p
job="$work/job.ps"
QR4T_TEST_PRINTER_PORT="$job" wine "$tests" --gtest_also_run_disabled_tests \
    --gtest_filter='DISABLED_TestPrinter.Add' >out.txt 2>&1 && grep -q '\[  PASSED  \] 1' out.txt ||
    note_failure "test printer not added: $(cat out.txt)"
render() { rm -f page*.png; gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r60 -sOutputFile=page%d.png "$1"; }

# Runs the named tests of a test program in this prefix; a filter that matches no test fails too.
run_in() {
    rm -f "$job"
    wine "$1" --gtest_also_run_disabled_tests --gtest_filter="$2" >out.txt 2>&1 || note_failure "$2: $(cat out.txt)"
    grep -q '\[  PASSED  \] [1-9]' out.txt || note_failure "$2 ran no test"
}
run_tests() { run_in "$tests" "$1"; }
run_tests 'PrinterOnRecord.DISABLED_WithPrinterPageAfterReset'
run_tests 'DISABLED_WithPrinter.Win32sPaths'
run_tests 'DISABLED_WithPrinter.DefaultPrinterEntry'
run_tests 'ScreenPrint.DISABLED_WithPrinterTransferFailure'
run_tests 'ScreenPrint.DISABLED_WithPrinterOnePage'
render "$job" || note_failure "Ghostscript rejects the screen's print job"
[ -f page1.png ] && [ ! -f page2.png ] || note_failure "the screen's print job is not one page"
[ "$(convert page1.png -colorspace Gray -format '%[fx:minima]' info:)" = 0 ] || note_failure "the screen's page has no ink"

run_tests 'PrinterOnRecord.DISABLED_WithPrinterCloseWithoutPageEnd'
render "$job" || note_failure "Ghostscript rejects the job closed without a page end"
[ -f page1.png ] || note_failure "the job closed without a page end has no page"
run_in "$dialog_tests" 'CommonDialogTest.DISABLED_WithPrinterPageSetupChoosesThePrinter'

rm -f "$job"
scene --device 10 --title Scene >out.txt || note_failure "device 10 exit $(cat out.txt)"
render "$job" || note_failure "Ghostscript rejects the scene's print job"
[ -f page1.png ] && [ ! -f page2.png ] || note_failure "one page expected"
# Landscape: the page is turned a quarter back before it is laid over the screen reference.
convert page1.png -rotate 90 scene1.png
ink scene1.png screen.png 0.85 || note_failure "printed page 1 differs from the screen reference"

rm -f "$job"
scene --device 10 --pages 2 --title Scene >out.txt || note_failure "device 10 two pages exit $(cat out.txt)"
render "$job" || note_failure "Ghostscript rejects the two-page job"
[ -f page2.png ] && [ ! -f page3.png ] || note_failure "two pages expected"

# The display picture on device 10, and printed through op 20: one page each, in the window's colours.
rm -f "$job"
display --device 10 --title Flowfield
render "$job" || note_failure "Ghostscript rejects the display's print job"
[ -f page1.png ] && [ ! -f page2.png ] || note_failure "the display's print job is not one page"
convert page1.png -rotate 90 display10.png
colours display10.png 0.85
rm -f "$job"
display --print 1
render "$job" || note_failure "Ghostscript rejects the print job of op 20"
[ -f page1.png ] && [ ! -f page2.png ] || note_failure "the print job of op 20 is not one page"
convert page1.png -rotate 90 display20.png
colours display20.png 0.95

wineserver -k
end_checks "Windows printer and metafile checks passed"
