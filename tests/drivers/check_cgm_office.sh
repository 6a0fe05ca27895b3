#!/bin/bash
# LibreOffice (its Impress filter) reads the scene's CGM file and draws it; in the win build the
# picture's ink matches the screen reference. LibreOffice paints no background element of its own
# colour: its black background is masked, not compared. A missing reader is a failure.
#   check_cgm_office.sh native|wine HCSCENE WORKDIR
mode=$1
exe=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work" && cd "$work" || exit 1
scene() { if [ "$mode" = wine ]; then wine "$exe" "$@"; else "$exe" "$@"; fi; }
command -v soffice >/dev/null || { echo "FAIL: reader soffice is missing"; exit 1; }
command -v convert >/dev/null || { echo "FAIL: reader convert is missing"; exit 1; }

scene --device 9 --out scene.cgm >out.txt || { echo "FAIL: device 9 exit $(cat out.txt)"; exit 1; }
timeout 300 soffice -env:UserInstallation="file://$PWD/profile" --headless --convert-to png --outdir lo scene.cgm \
    >soffice.txt 2>&1
if [ ! -s lo/scene.png ]; then
    echo "FAIL: soffice wrote no picture of the CGM file: $(cat soffice.txt)"
    exit 1
fi
convert lo/scene.png -fill white -opaque black scene.png || { echo "FAIL: cannot mask the picture"; exit 1; }
ink=$(convert scene.png -colorspace Gray -threshold 90% -format '%[fx:1-mean]' info:)
python3 -c "import sys; sys.exit(0 if float('$ink') > 0.005 else 1)" || { echo "FAIL: no ink ($ink)"; exit 1; }
if [ "$mode" = wine ]; then
    scene --screen screen.png >out.txt || { echo "FAIL: screen reference exit"; exit 1; }
    python3 "$here/ink_grid.py" scene.png screen.png 0.8 || { echo "FAIL: CGM picture and screen differ"; exit 1; }
fi
echo "LibreOffice draws the CGM file ($mode)"
