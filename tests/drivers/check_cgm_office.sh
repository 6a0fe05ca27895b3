#!/bin/bash
# LibreOffice (its Impress filter) reads the scene's CGM file and draws it. Its picture is not compared
# with the screen: it paints the page black, so the scene's black strokes vanish into it, and it draws
# every line one pixel wide; the black background is masked before the ink is counted. The file's
# content is checked element by element by the vector check. In the win build the CGM file of the live
# flowfield picture (drawn by the display code) is read in the same LibreOffice run. A missing reader
# is a failure.
#   check_cgm_office.sh native|wine HCSCENE WORKDIR
mode=$1
exe=$2
work=$3
source "$(dirname "$0")/reader_checks.sh" "$work"
need_readers soffice convert

scene --device 9 --out scene.cgm >out.txt || fail "device 9 exit $(cat out.txt)"
files=(scene)
if [ "$mode" = wine ]; then
    scene --display flowfield --device 9 --out display.cgm >out.txt || fail "display exit $(cat out.txt)"
    files+=(display)
fi
# LibreOffice 7.4's CGM import refuses a whole metafile that holds any CHARACTER ORIENTATION other than
# the upright one (a four-element file with one rotated text is refused as well), so it is given a copy
# without those elements; the complete file is walked element by element by the vector check.
python3 - "${files[@]}" <<'PY' || fail "cannot copy the CGM file"
import sys


def copy(source, target):
    data = open(source, "rb").read()
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
    open(target, "wb").write(out)


for name in sys.argv[1:]:
    copy(name + ".cgm", name + "_upright.cgm")
PY
uprights=()
for f in "${files[@]}"; do uprights+=("${f}_upright.cgm"); done
timeout 300 soffice -env:UserInstallation="file://$PWD/profile" --headless --convert-to png --outdir lo \
    "${uprights[@]}" >soffice.txt 2>&1
for f in "${files[@]}"; do
    if [ ! -s "lo/${f}_upright.png" ]; then
        fail "soffice wrote no picture of $f.cgm: $(cat soffice.txt)"
    fi
    convert "lo/${f}_upright.png" -fill white -opaque black "$f.png" || fail "cannot mask the picture of $f.cgm"
    ink=$(convert "$f.png" -colorspace Gray -threshold 90% -format '%[fx:1-mean]' info:)
    python3 -c "import sys; sys.exit(0 if float('$ink') > 0.005 else 1)" || fail "no ink in $f.cgm ($ink)"
done
# The display's picture keeps its colour table: the cells and the colour bar in many colours (the page
# LibreOffice makes cuts the picture's lower part off, so it is not laid over the window's).
if [ "$mode" = wine ]; then
    n=$(convert lo/display_upright.png -format %k info:)
    [ "$n" -ge 50 ] || fail "LibreOffice draws the display's CGM file in $n colours"
fi
echo "LibreOffice draws the CGM files (${files[*]}, $mode)"
