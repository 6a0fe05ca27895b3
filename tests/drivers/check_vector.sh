#!/bin/bash
# The scene tool's PostScript, EPS, SVG, DXF and CGM files read by independent readers: Ghostscript,
# xmllint and rsvg-convert, ezdxf and a CGM element walker; the file failures; and in the
# win build each picture's ink against the screen reference.
#   check_vector.sh native|wine HCSCENE WORKDIR
# A missing reader is a failure.
mode=$1
exe=$2
work=$3
source "$(dirname "$0")/reader_checks.sh" "$work"
need_readers gs rsvg-convert xmllint convert ezdxf

if [ "$mode" = wine ]; then
    scene --screen screen.png >out.txt || note_failure "screen reference exit"
fi
# Compares a rendering's ink with the screen reference (win build only).
ink() { [ "$mode" = wine ] && { python3 "$here/ink_grid.py" "$1" screen.png "$2" || note_failure "$1 and the screen reference differ"; }; }

# PostScript, landscape defaults: the rotation, then the translation; Ghostscript renders it silently.
scene --device 2 --out d2.ps --title "Scene" >out.txt || note_failure "device 2 exit $(cat out.txt)"
grep -m1 -A1 -x $'90.0 ro\r' d2.ps | tail -1 | grep -qx $'42.0 -560.0 translate\r' || note_failure "no 90.0 ro then 42.0 -560.0 translate"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -dDEVICEWIDTHPOINTS=600 -dDEVICEHEIGHTPOINTS=820 \
    -dFIXEDMEDIA -sOutputFile=d2_page.png d2.ps >gs.txt 2>&1 || note_failure "gs exits non-zero on the PostScript file"
[ -s gs.txt ] && note_failure "gs says: $(head -5 gs.txt)"
# The page holds the picture turned by 90 degrees at (20..560, 42..798) points: cut out and turned back.
convert d2_page.png -crop 540x756+20+22 +repage -rotate 90 d2.png || note_failure "cannot cut the PostScript page"
ink d2.png 0.85
# Two pages: a page line each, two showpages.
scene --device 2 --out pages.ps --pages 2 >out.txt || note_failure "two pages exit"
[ "$(grep -c '^%%Page:' pages.ps)" -eq 2 ] || note_failure "two pages: $(grep -c '^%%Page:' pages.ps) page lines"
[ "$(grep -c 'showpage' pages.ps)" -eq 2 ] || note_failure "two pages: $(grep -c showpage pages.ps) showpages"
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=nullpage pages.ps >gs.txt 2>&1 && [ ! -s gs.txt ] ||
    note_failure "gs on two pages: $(head -5 gs.txt)"

# EPS: Ghostscript's bounding box lies inside the declared one; no page or device operators.
scene --device 2 --option 22=1 --out d2.eps >out.txt || note_failure "EPS exit $(cat out.txt)"
read -r _ bx1 by1 bx2 by2 < <(grep -a '^%%BoundingBox:' d2.eps | tr -d '\r')
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox d2.eps 2>bbox.txt >/dev/null || note_failure "gs bbox exit"
read -r _ gx1 gy1 gx2 gy2 < <(grep '^%%BoundingBox:' bbox.txt)
if [ -z "$gx2" ] || [ "$gx1" -lt "$bx1" ] || [ "$gy1" -lt "$by1" ] || [ "$gx2" -gt "$bx2" ] || [ "$gy2" -gt "$by2" ]; then
    note_failure "EPS ink box ($gx1 $gy1 $gx2 $gy2) outside the declared box ($bx1 $by1 $bx2 $by2)"
fi
grep -Eq 'showpage|#copies|initgraphics|(^| )clip' d2.eps && note_failure "EPS holds page or clip operators"

# SVG: well-formed, rendered, and its picture matches the screen.
scene --device 3 --out d3.svg --title "Scene" >out.txt || note_failure "device 3 exit $(cat out.txt)"
xmllint --noout d3.svg || note_failure "xmllint rejects the SVG file"
rsvg-convert -b white -o d3.png d3.svg || note_failure "rsvg-convert rejects the SVG file"
ink d3.png 0.85

# DXF: ezdxf reads it; the entity counts agree with a plain scan and with the scene's primitives; the
# nine layers and six line types are there; the audit finds nothing.
scene --device 8 --out d8.dxf >out.txt || note_failure "device 8 exit $(cat out.txt)"
debian_python "$here/dxf_read.py" d8.dxf >dxf.txt || note_failure "ezdxf: $(cat dxf.txt)"
dxf_counts_agree
# No TEXT (the device's capabilities leave text to the core's strokes); the solid rectangle and
# triangle; circles and arcs need square user units, which the scene does not have; polylines: the
# three corners, the long wave and those the core draws.
grep -qx 'entity TEXT 0' dxf.txt || note_failure "DXF texts: $(grep 'entity TEXT' dxf.txt)"
grep -qx 'entity SOLID 2' dxf.txt || note_failure "DXF solids: $(grep 'entity SOLID' dxf.txt)"
grep -qx 'entity CIRCLE 0' dxf.txt && grep -qx 'entity ARC 0' dxf.txt || note_failure "DXF circles or arcs written"
[ "$(grep '^entity POLYLINE' dxf.txt | cut -d' ' -f3)" -ge 4 ] || note_failure "DXF polylines: $(grep 'entity POLYLINE' dxf.txt)"
[ "$(grep '^entity LINE' dxf.txt | cut -d' ' -f3)" -ge 40 ] || note_failure "DXF lines: $(grep 'entity LINE' dxf.txt)"
grep -q '^layers .*1 2 3 4 5 6 7 8 9' dxf.txt || note_failure "DXF layers: $(grep layers dxf.txt)"
for lt in DOT DASHED DASHDOT DIVIDE CENTER HIDDEN; do
    grep -q "^linetypes .*\b$lt\b" dxf.txt || note_failure "DXF line type $lt missing"
done
grep -qx 'audit errors 0' dxf.txt || note_failure "DXF audit: $(grep audit dxf.txt)"

# CGM: the walker ends at END METAFILE; the defaults give a 6300 by 4500 extent; two pages are two
# pictures; the image of page 2 is a cell array of 4 rows.
scene --device 9 --out d9.cgm --pages 2 >out.txt || note_failure "device 9 exit $(cat out.txt)"
python3 "$here/cgm_walk.py" d9.cgm >walk.txt || note_failure "CGM walk: $(cat walk.txt)"
grep -qx 'vdc 0 0 6300 4500' walk.txt || note_failure "CGM extent: $(grep vdc walk.txt)"
grep -qx 'pictures 2' walk.txt || note_failure "CGM pictures: $(grep pictures walk.txt)"
grep -qx 'cells 4 4 4' walk.txt || note_failure "CGM cell array: $(grep cells walk.txt)"
grep -qx 'fonts 16 bytes 260' walk.txt || note_failure "CGM font list: $(grep fonts walk.txt)"
# Titles of 12 and 13 characters: the pad byte comes only after the even length.
scene --device 9 --out t12.cgm --title "twelve chars" >out.txt || note_failure "title 12 exit"
scene --device 9 --out t13.cgm --title "thirteen char" >out.txt || note_failure "title 13 exit"
# BEGIN METAFILE (0, 1) of length 13 with its pad byte, or 14 without, then METAFILE VERSION (1, 1).
head18() { od -An -tx1 -N18 "$1" | tr -d ' \n'; }
[ "$(head18 t12.cgm)" = "002d0c$(printf 'twelve chars' | od -An -tx1 | tr -d ' \n')001022" ] ||
    note_failure "title of 12: $(head18 t12.cgm)"
[ "$(head18 t13.cgm)" = "002e0d$(printf 'thirteen char' | od -An -tx1 | tr -d ' \n')1022" ] ||
    note_failure "title of 13: $(head18 t13.cgm)"
python3 "$here/cgm_walk.py" t12.cgm >/dev/null && python3 "$here/cgm_walk.py" t13.cgm >/dev/null || note_failure "CGM titles walk"
# A missing directory: error 1, non-zero exit, no file; per device.
for d in 2 3 8 9; do
    if scene --device $d --out no_such_directory/x.out >out.txt; then note_failure "device $d: missing directory exits 0"; fi
    grep -q 'Error=   1:' out.txt || note_failure "device $d missing directory: $(cat out.txt)"
done
[ ! -e no_such_directory ] || note_failure "missing directory was made"
if [ "$mode" = native ]; then
    for d in 2 3 8 9; do
        if scene --device $d --out /dev/full >out.txt; then note_failure "device $d: /dev/full exits 0"; fi
        grep -q 'Error=   2:' out.txt || note_failure "device $d /dev/full: $(cat out.txt)"
    done
fi

end_checks "vector driver checks passed ($mode)"
