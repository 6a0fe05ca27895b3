#!/bin/bash
# The scene tool's plot files read by hp2xx, its failures, and (win build) the screen reference and the
# command hand-off under Wine.
#   check_hcscene.sh native|wine HCSCENE WORKDIR
# Exits 77 (skipped) when hp2xx is missing.
mode=$1
exe=$2
work=$3
command -v hp2xx >/dev/null || { echo "hp2xx missing"; exit 77; }
source "$(dirname "$0")/reader_checks.sh" "$work"

# Device 1, variant 1: the seven head lines byte for byte, then hp2xx reads the whole file.
scene --device 1 --out d1.plt --title "Scene" >out.txt || note_failure "device 1 exit $(cat out.txt)"
printf 'IN; IP 395 0 10865 7478\r\nRO0; IP 395 0 10865 7478\r\nDT\004\r\nDI1. 0.\r\nSC-2 8 0 32760\r\nSC-13 1 0 32760\r\nSC0 32760 0 32760\r\n' >head.txt
head -c "$(stat -c %s head.txt)" d1.plt | cmp -s - head.txt || note_failure "device 1 head lines differ"
hp2xx -q -m png -f d1.png d1.plt || note_failure "hp2xx rejects the HP-GL file"
[ -s d1.png ] || note_failure "hp2xx wrote no picture of the HP-GL file"

# Device 12: variant 4 has no escape byte, variant 1 is framed by ESC %0B and ESC %0A; hp2xx reads both.
printf 'HPGL2=4\r\n' >v4.ini
WINTINIT=v4.ini scene --device 12 --out d12v4.plt --pages 2 >out.txt || note_failure "device 12 variant 4 exit"
[ "$(tr -cd '\033' <d12v4.plt | wc -c)" -eq 0 ] || note_failure "variant 4 holds an escape byte"
hp2xx -q -m png -f d12v4.png d12v4.plt || note_failure "hp2xx rejects HP-GL/2 variant 4"
printf 'HPGL2=1\r\n' >v1.ini
WINTINIT=v1.ini scene --device 12 --out d12v1.plt --title "Scene" >out.txt || note_failure "device 12 variant 1 exit"
[ "$(head -c 4 d12v1.plt)" = $'\033%0B' ] || note_failure "variant 1 does not start with ESC %0B"
[ "$(tail -c 6 d12v1.plt | head -c 4)" = $'\033%0A' ] || note_failure "variant 1 does not end with ESC %0A"
hp2xx -q -m png -f d12v1.png d12v1.plt || note_failure "hp2xx rejects HP-GL/2 variant 1"

# Two pages: two page records, each followed by the pen put away.
scene --device 1 --out pages.plt --pages 2 >out.txt || note_failure "two pages exit"
[ "$(grep -c '^SC-3 ' pages.plt)" -eq 2 ] || note_failure "two pages: $(grep -c '^SC-3 ' pages.plt) page records"

# A missing directory: error 1, a non-zero exit and no file.
if scene --device 1 --out no_such_directory/x.plt >out.txt; then note_failure "missing directory exits 0"; fi
grep -q 'Error=   1:' out.txt || note_failure "missing directory: $(cat out.txt)"
[ ! -e no_such_directory ] || note_failure "missing directory was made"

# A device without a driver opens nothing: no default plot file.
scene --device 5 >out.txt || note_failure "device 5 exit"
[ ! -e zirazo.plt ] || note_failure "device 5 wrote the default plot file"

if [ "$mode" = native ]; then
    # A device that takes no bytes: error 2.
    if scene --device 1 --out /dev/full >out.txt; then note_failure "/dev/full exits 0"; fi
    grep -q 'Error=   2:' out.txt || note_failure "/dev/full: $(cat out.txt)"
else
    # The screen reference and hp2xx's picture of the HP-GL file carry ink in the same places.
    scene --screen screen.png >out.txt || note_failure "screen reference exit"
    python3 "$here/ink_grid.py" d1.png screen.png 0.85 || note_failure "HP-GL picture and screen reference differ"

    # The command hand-off: the driver's bytes reach out.plt through "copy", and no temporary file stays.
    temps() { find "$WINEPREFIX/drive_c" -name 'ruv$$*.plt' 2>/dev/null | wc -l; }
    before=$(temps)
    scene --device 1 --out "copy @ piped.plt" >out.txt || note_failure "hand-off exit $(cat out.txt)"
    scene --device 1 --out direct.plt >out.txt || note_failure "direct exit"
    cmp -s piped.plt direct.plt || note_failure "the copied plot differs from the driver's bytes"
    [ "$(temps)" -eq "$before" ] || note_failure "a temporary plot file stayed"
    # A device without hand-off (SVG) takes the name literally and runs nothing.
    scene --device 3 --out "copy @ literal.plt" >out.txt || note_failure "device 3 exit"
    [ ! -e literal.plt ] || note_failure "device 3 ran the command"
    [ -s "copy @ literal.plt" ] || note_failure "device 3 did not write the file of the literal name"
    # A failing command: error 13, and the temporary file is gone all the same.
    if scene --device 1 --out "no_such_command @ x.plt" >out.txt; then note_failure "failing command exits 0"; fi
    grep -q 'Error=  13:' out.txt || note_failure "failing command: $(cat out.txt)"
    [ "$(temps)" -eq "$before" ] || note_failure "a temporary plot file stayed after the failing command"
fi

end_checks "hcscene checks passed ($mode)"
