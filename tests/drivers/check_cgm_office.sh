#!/bin/bash
# LibreOffice (its Impress filter) reads the scene's CGM file and draws it. Its picture is not compared
# with the screen: it paints the page black, so the scene's black strokes vanish into it, and it draws
# every line one pixel wide; the black background is masked before the ink is counted. The file's
# content is checked element by element by the vector check. A missing reader is a failure.
#   check_cgm_office.sh native|wine HCSCENE WORKDIR
mode=$1
exe=$2
work=$3
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
scene() { if [ "$mode" = wine ]; then wine "$exe" "$@"; else "$exe" "$@"; fi; }
command -v soffice >/dev/null || { echo "FAIL: reader soffice is missing"; exit 1; }
command -v convert >/dev/null || { echo "FAIL: reader convert is missing"; exit 1; }

scene --device 9 --out scene.cgm >out.txt || { echo "FAIL: device 9 exit $(cat out.txt)"; exit 1; }
# LibreOffice 7.4's CGM import refuses a whole metafile that holds any CHARACTER ORIENTATION other than
# the upright one (a four-element file with one rotated text is refused as well), so it is given a copy
# without those elements; the complete file is walked element by element by the vector check.
python3 - scene.cgm upright.cgm <<'PY' || { echo "FAIL: cannot copy the CGM file"; exit 1; }
import sys
data = open(sys.argv[1], "rb").read()
out, at = bytearray(), 0
while at + 2 <= len(data):
    head = int.from_bytes(data[at:at + 2], "big")
    n, end = head & 31, at + 2
    more = n == 31
    if not more:
        end += n + n % 2
    while more:  # long form: partitions, each a length word (bit 15: another follows) and its bytes
        word = int.from_bytes(data[end:end + 2], "big")
        more, n = word >> 15, word & 0x7FFF
        end += 2 + n + n % 2
    if (head >> 12, head >> 5 & 127) != (5, 16):
        out += data[at:end]
    at = end
open(sys.argv[2], "wb").write(out)
PY
timeout 300 soffice -env:UserInstallation="file://$PWD/profile" --headless --convert-to png --outdir lo upright.cgm \
    >soffice.txt 2>&1
if [ ! -s lo/upright.png ]; then
    echo "FAIL: soffice wrote no picture of the CGM file: $(cat soffice.txt)"
    exit 1
fi
convert lo/upright.png -fill white -opaque black scene.png || { echo "FAIL: cannot mask the picture"; exit 1; }
ink=$(convert scene.png -colorspace Gray -threshold 90% -format '%[fx:1-mean]' info:)
python3 -c "import sys; sys.exit(0 if float('$ink') > 0.005 else 1)" || { echo "FAIL: no ink ($ink)"; exit 1; }
echo "LibreOffice draws the CGM file ($mode)"
