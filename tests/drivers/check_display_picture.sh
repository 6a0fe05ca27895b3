#!/bin/bash
# The live flowfield picture of a small flowfield, drawn by the display code with each file device
# open, read by the devices' independent readers: hp2xx (HP-GL, HP-GL/2), Ghostscript (PostScript,
# EPS), xmllint and rsvg-convert (SVG), pngcheck and ImageMagick (bitmap file), ezdxf (DXF) and the CGM
# element walker; the pictures that keep colour are compared cell by cell with the window's own
# picture, the pen plots by where they carry ink. Win build, under Wine in Xvfb. The Windows printer
# and metafiles are read in check_windows_devices.sh, the CGM file by LibreOffice in check_cgm_office.sh.
#   check_display_picture.sh HCSCENE WORKDIR
# A missing reader is a failure.
exe=$1
work=$2
source "$(dirname "$0")/reader_checks.sh" "$work"
need_readers hp2xx gs rsvg-convert xmllint convert identify pngcheck python3 ezdxf

# The display picture on device N (further arguments go to the tool as they are).
display() { wine "$exe" --display flowfield "$@" >out.txt || note_failure "$* exit: $(cat out.txt)"; }
# A reader's rendering against the window's picture: by colour, or (pen plots) by ink.
colours() { python3 "$here/ink_grid.py" --colour "$1" screen.png "$2" 60 >grid.txt || { cat grid.txt; note_failure "$1 differs in colour from the window's picture"; }; }
ink() { python3 "$here/ink_grid.py" "$1" screen.png "$2" >grid.txt || { cat grid.txt; note_failure "$1 carries ink elsewhere than the window's picture"; }; }

display --screen screen.png
# A display that the tool does not know: a usage error that names it, and no window.
if wine "$exe" --display surface >out.txt 2>&1; then note_failure "an unknown display exits 0"; fi
grep -q 'unknown display: surface' out.txt || note_failure "unknown display: $(cat out.txt)"
[ "$(identify -format '%w %h' screen.png 2>&1)" = "640 480" ] || note_failure "screen reference: $(identify screen.png 2>&1)"

# HP-GL: hp2xx draws it with its own pens, and the core's hatching fills every area, so the plot is
# checked by where it carries ink and by the shape of its ink box (within a tenth of the window's).
display --device 1 --out d1.plt --title Flowfield
hp2xx -q -m png -f d1.png d1.plt || note_failure "hp2xx rejects the HP-GL file"
ink d1.png 0.85
shape() { convert "$1" -background white -alpha remove -bordercolor white -border 1 -fuzz 3% -trim -format '%w %h' info:; }
read -r sw sh < <(shape screen.png)
read -r pw ph < <(shape d1.png)
awk -v a="$sw $sh" -v b="$pw $ph" 'BEGIN { split(a, A); split(b, B); r = (B[1] / B[2]) / (A[1] / A[2]); exit !(r > 0.9 && r < 1.1) }' ||
    note_failure "HP-GL ink box $pw x $ph, the window's $sw x $sh"
# HP-GL/2 (variant 4): hp2xx reads it; its picture is not laid over the window's, since hp2xx paints
# its whole page in the colour of pen 0, which the display's palette sets to black (the body colour).
printf 'HPGL2=4\r\n' >v4.ini
WINTINIT=v4.ini display --device 12 --out d12.plt
hp2xx -q -m png -f d12.png d12.plt || note_failure "hp2xx rejects the HP-GL/2 file"
[ -s d12.png ] || note_failure "hp2xx wrote no picture of the HP-GL/2 file"

# PostScript, landscape: Ghostscript renders it silently, the page turned back is the window's picture.
display --device 2 --out d2.ps --title Flowfield
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -sOutputFile=d2_page.png d2.ps >gs.txt 2>&1 ||
    note_failure "gs exits non-zero on the PostScript file"
[ -s gs.txt ] && note_failure "gs says: $(head -5 gs.txt)"
convert d2_page.png -rotate 90 d2.png || note_failure "cannot turn the PostScript page"
colours d2.png 0.85
# EPS: the ink lies inside the declared bounding box. The picture reaches the surface's right edge,
# which Ghostscript's exact box passes by rounding (0.01 point): a tenth of a point is allowed.
display --device 2 --option 22=1 --out d2.eps
read -r _ bx1 by1 bx2 by2 < <(grep -a '^%%BoundingBox:' d2.eps | tr -d '\r')
gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox d2.eps 2>bbox.txt >/dev/null || note_failure "gs bbox exit"
read -r _ gx1 gy1 gx2 gy2 < <(grep '^%%HiResBoundingBox:' bbox.txt)
awk -v g="$gx1 $gy1 $gx2 $gy2" -v b="$bx1 $by1 $bx2 $by2" 'BEGIN {
    split(g, G); split(b, B)
    exit !(G[4] != "" && G[1] >= B[1] - 0.1 && G[2] >= B[2] - 0.1 && G[3] <= B[3] + 0.1 && G[4] <= B[4] + 0.1)
}' || note_failure "EPS ink box ($gx1 $gy1 $gx2 $gy2) outside the declared box ($bx1 $by1 $bx2 $by2)"

# SVG.
display --device 3 --out d3.svg --title Flowfield
xmllint --noout d3.svg || note_failure "xmllint rejects the SVG file"
rsvg-convert -b white -o d3.png d3.svg || note_failure "rsvg-convert rejects the SVG file"
colours d3.png 0.85

# The bitmap file as a 24-bit PNG.
display --device 6 --option 23=24 --option 26=3 --out d6.png
pngcheck d6.png >png.txt 2>&1 || note_failure "pngcheck rejects the bitmap file: $(cat png.txt)"
colours d6.png 0.85

# The raster printer (PCL): Debian has no reader of printer streams, so only the frame is checked here:
# reset, 150 dpi, raster rows, raster end, reset. The rows are the rasteriser's page, which
# the bitmap file above shows, and their coding is decoded row by row by the raster printer's unit test.
display --device 4 --out d4.prn
[ "$(head -c 2 d4.prn)" = $'\033E' ] && [ "$(tail -c 6 d4.prn)" = $'\033*rB\033E' ] || note_failure "PCL stream not framed by resets"
grep -aq $'\033\*t150R' d4.prn || note_failure "PCL stream not at 150 dpi"
[ "$(grep -a -o $'\033\*b[0-9]*W' d4.prn | wc -l)" -ge 100 ] || note_failure "PCL stream holds $(grep -a -o $'\033\*b[0-9]*W' d4.prn | wc -l) rows"

# DXF: ezdxf reads it, its counts agree with a plain scan, the audit finds nothing; every element of
# the plane (24), the area behind it and the 254 steps of the colour bar are solids.
display --device 8 --out d8.dxf
debian_python "$here/dxf_read.py" d8.dxf >dxf.txt || note_failure "ezdxf: $(cat dxf.txt)"
dxf_counts_agree
[ "$(grep '^entity SOLID' dxf.txt | cut -d' ' -f3)" -ge 278 ] || note_failure "DXF solids: $(grep 'entity SOLID' dxf.txt)"
grep -qx 'audit errors 0' dxf.txt || note_failure "DXF audit: $(grep audit dxf.txt)"

# CGM: the walk ends at END METAFILE after one picture.
display --device 9 --out d9.cgm --title Flowfield
python3 "$here/cgm_walk.py" d9.cgm >walk.txt || note_failure "CGM walk: $(cat walk.txt)"
grep -qx 'pictures 1' walk.txt || note_failure "CGM pictures: $(grep pictures walk.txt)"

end_checks "display picture checks passed"
