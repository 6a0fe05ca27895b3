#!/usr/bin/env bash
# Independent readers of the images that image_save_test wrote into the folder $1:
#   pngcheck accepts every PNG; ImageMagick's identify reads every BMP and PCX at the size in its name
#   (name_WxH.ext); ImageMagick decodes the BMP, PCX and PNG of one bitmap to the same pixels.
# Exits 1 on a failure; 77 (skipped) when pngcheck is not installed, after the ImageMagick checks.
set -u
dir=$1
source "$(dirname "$0")/../test_steps.sh"
shopt -s nullglob
files=("$dir"/*.png "$dir"/*.bmp "$dir"/*.pcx)
[ ${#files[@]} -eq 0 ] && fail "no images in $dir"
for f in "$dir"/*.bmp "$dir"/*.pcx "$dir"/*.png; do
    want=${f##*_}
    want=${want%.*}
    got=$(identify -format "%wx%h" "$f" 2>&1)
    [ "$got" = "$want" ] || note_failure "identify $f: '$got', expected $want"
done
for png in "$dir"/save_*.png; do
    base=${png%.png}
    # 16-bit pixels: ImageMagick widens 5-bit samples of the BMP by bit replication, the savers by a
    # shift (as the loader reads them), so samples may differ by up to 7 of 255.
    fuzz=0
    case $base in *save_16_*) fuzz=3% ;; esac
    for other in "$base.bmp" "$base.pcx"; do
        differing=$(compare -fuzz $fuzz -metric AE "$png" "$other" null: 2>&1)
        [ "$differing" = "0" ] || note_failure "compare $png $other: $differing pixels differ"
    done
done
if ! command -v pngcheck >/dev/null; then
    echo "pngcheck is not installed"
    [ "$failures" -ne 0 ] && exit 1
    exit 77
fi
for f in "$dir"/*.png; do
    pngcheck -q "$f" || note_failure "pngcheck rejects $f"
done
end_checks "${#files[@]} images read by pngcheck and ImageMagick"
