#!/bin/bash
# The scene tool on the bitmap-file device (6) read by ImageMagick and pngcheck: every format and depth,
# one picture in all of them, the run-length coding of an odd width, and the output errors; in the win
# build also the picture against the screen reference.
#   check_bitmap_scene.sh native|wine HCSCENE WORKDIR
# A missing reader (ImageMagick or pngcheck) is a failure.
mode=$1
exe=$2
work=$3
source "$(dirname "$0")/reader_checks.sh" "$work"
need_readers identify compare pngcheck
# Little-endian field of n bytes at an offset.
field() { od -An -tu"$3" -j "$2" -N "$3" "$1" | tr -d ' '; }

ext=(pcx bmp bmp png)
for format in 0 1 2 3; do
    for depth in 1 4 8 24; do
        f=s${format}_$depth.${ext[$format]}
        scene --device 6 --option 23=$depth --option 26=$format --out $f >out.txt || note_failure "$f: exit $(cat out.txt)"
        class=PseudoClass
        [ $depth = 24 ] && class=DirectClass
        got=$(identify -format '%w %h %r' "$f" 2>&1)
        [[ "$got" == "640 480 $class"* ]] || note_failure "$f: identify says $got"
    done
done

# Depths as the files state them.
for depth in 1 4 8 24; do
    [ "$(field s1_$depth.bmp 28 2)" = $depth ] || note_failure "BMP of depth $depth states $(field s1_$depth.bmp 28 2)"
    want="$depth-bit palette"
    [ $depth = 24 ] && want="24-bit RGB"
    [ $depth = 1 ] && want="1-bit palette"
    pngcheck -v s3_$depth.png >png.txt 2>&1 || note_failure "pngcheck rejects s3_$depth.png: $(tail -1 png.txt)"
    grep -q "$want" png.txt || note_failure "s3_$depth.png is not a $want image"
done

# The 8-bit plain BMP: 308,278 bytes, pixel data at 1078. The 8-bit PCX: version 5, one plane line of
# 640 bytes, a 769-byte palette trailer starting with 12.
[ "$(stat -c %s s1_8.bmp)" = 308278 ] || note_failure "8-bit BMP is $(stat -c %s s1_8.bmp) bytes"
[ "$(field s1_8.bmp 10 4)" = 1078 ] || note_failure "8-bit BMP data offset $(field s1_8.bmp 10 4)"
[ "$(field s0_8.pcx 1 1)" = 5 ] || note_failure "8-bit PCX version $(field s0_8.pcx 1 1)"
[ "$(field s0_8.pcx 66 2)" = 640 ] || note_failure "8-bit PCX line of $(field s0_8.pcx 66 2) bytes"
[ "$(field s0_8.pcx $(($(stat -c %s s0_8.pcx) - 769)) 1)" = 12 ] || note_failure "8-bit PCX has no palette trailer"

# One scene, one picture: PCX, run-length BMP and PNG decode to the plain BMP's pixels.
for depth in 1 4 8 24; do
    for f in s0_$depth.pcx s2_$depth.bmp s3_$depth.png; do
        ae=$(compare -metric AE "$f" s1_$depth.bmp null: 2>&1)
        [ "$ae" = 0 ] || note_failure "$f differs from s1_$depth.bmp in $ae pixels"
    done
done

# A width of 642: the last run-length group of a row holds fewer pixels than a whole group.
for depth in 4 8; do
    scene --device 6 --option 1=642 --option 23=$depth --option 26=1 --out w1_$depth.bmp >out.txt || note_failure "642 plain"
    scene --device 6 --option 1=642 --option 23=$depth --option 26=2 --out w2_$depth.bmp >out.txt || note_failure "642 RLE"
    ae=$(compare -metric AE w2_$depth.bmp w1_$depth.bmp null: 2>&1)
    [ "$ae" = 0 ] || note_failure "run-length BMP of width 642 at $depth bits differs in $ae pixels"
done

# A missing directory: error 1 and no file.
if scene --device 6 --out no_such_directory/x.bmp >out.txt; then note_failure "missing directory exits 0"; fi
grep -q 'Error=   1:' out.txt || note_failure "missing directory: $(cat out.txt)"

if [ "$mode" = native ]; then
    if scene --device 6 --option 26=3 --out /dev/full >out.txt; then note_failure "/dev/full exits 0"; fi
    grep -q 'Error=   2:' out.txt || note_failure "/dev/full: $(cat out.txt)"
else
    # The 24-bit page against the screen reference: ink in the same places (the rasteriser draws no
    # device text, the screen does).
    scene --screen screen.png >out.txt || note_failure "screen reference exit"
    python3 "$here/ink_grid.py" s1_24.bmp screen.png 0.9 || note_failure "bitmap page and screen reference differ"
fi

end_checks "bitmap scene checks passed ($mode)"
