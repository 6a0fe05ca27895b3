#!/usr/bin/env bash
# Writes the seed corpus of every harness into FOLDER/<harness>, from what the project holds: the
# demonstration data, the fixture cases of the case-data tests, restart sets written from those cases
# (by BUILD/restart_seeds), the saved images of the image tests, and small files made here for the
# forms that the project keeps no file of. Usage: fuzz/make_seeds.sh SOURCE BUILD FOLDER
set -eu
source_dir=$1
build_dir=$2
final=$3
# Written beside the folder and then put in its place, so that a harness that starts meanwhile finds
# the previous seeds whole.
out=$final.new.$$
rm -rf "$out"
mkdir -p "$out"/{flow_data,surface_data,restart_set,options_file,image_load,file_id,png_codec,grid_csv,clipboard}

# Flow data: every flow-data file of the project.
fixtures="$source_dir/tests/casedata/fixtures"
for f in "$source_dir"/data/demo/QR4TD.DM? "$source_dir"/tests/case_fuzz/QR4TD.DM1 "$fixtures"/*/QR4TD.DAT; do
    cp "$f" "$out/flow_data/$(echo "${f#"$source_dir"/}" | tr / _)"
done

# Surface data: a first byte that picks the flow data (the order of surface_data_fuzz.cpp), then the
# surface data written for it.
k=0
for s in "$fixtures/one_species/QR4SD.DAT" "$fixtures/reacting_gas/QR4SD.DAT" \
    "$source_dir"/data/demo/QR4SD.DM1 "$source_dir"/data/demo/QR4SD.DM2 "$source_dir"/data/demo/QR4SD.DM3; do
    { printf "\\x0$k"; cat "$s"; } >"$out/surface_data/flow$k"
    k=$((k + 1))
done

# Restart sets, with and without their list.
"$build_dir/restart_seeds" "$out/restart_set" >/dev/null

# Options files: each unit system, with CR LF and LF, with a byte-order mark, a value out of range.
printf '1\r\n' >"$out/options_file/si"
printf '2\n' >"$out/options_file/english"
printf '\xef\xbb\xbf3\r\n' >"$out/options_file/bom"
printf '  7 , 2\r\n' >"$out/options_file/out_of_range"

# Images: the saved images of the image tests, and the toolbar bitmap.
cp "$source_dir"/saved_images/* "$source_dir"/tests/toolkit_iv/toolbar.bmp "$out/image_load/"
cp "$source_dir"/saved_images/*.{bmp,png} "$out/file_id/"

# Files of the other graphics types that the identifier names, by their headers.
f="$out/file_id"
printf 'IN;SC0,1000,0,800;IP0,0,1000,800;SP1;PU0,0;PD100,100;PG;\r\nPU;PG;\r\n' >"$f/plot.hgl"
printf '\x1b%%0BIN;CO:"TITLE";SC0,100,0,100;PG;\r\n' >"$f/plot2.hgl"
printf '%%!PS-Adobe-3.0 EPSF-3.0\r\n%%%%BoundingBox: 0 0 612 792\r\nshowpage\r\n' >"$f/page.eps"
printf '  0    \r\nSECTION\r\n  2\r\nHEADER\r\n  0\r\nEOF\r\n' >"$f/drawing.dxf"
printf '<?xml version="1.0" ?>\r\n<!doctype svg>\r\n<svg width="400" height="300">\r\n</svg>\r\n' >"$f/picture.svg"
printf '\x01\x00\x09\x00\x00\x03\x20\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x03\x00\x00\x00\x00\x00' >"$f/plain.wmf"
printf '\x1bE\x1b&a0H' >"$f/page.pcl"
printf '\x1b@\x1bU\x01' >"$f/page.escp"
printf 'Draw' >"$f/page.draw"
printf '\x1b[?38h' >"$f/stream.term"
printf '\x00\x22\x00\x08QR4T CGM\x10\x22\x00\x04ABCD\x00\x40\x00\x00' >"$f/meta.cgm"

# The codec: four bytes of row geometry, then the zlib stream of rows with every filter type.
/usr/bin/python3 - "$out/png_codec" <<'PY'
import sys, zlib
out = sys.argv[1]
for name, row_length, rows, distance in (("rgb", 13, 4, 3), ("rgba16", 33, 3, 8), ("grey", 5, 8, 1)):
    raw = bytearray()
    for r in range(rows):
        raw.append(r % 5)
        raw.extend((r * 7 + i * 13) & 255 for i in range(row_length - 1))
    head = bytes([(row_length - 1) & 255, (row_length - 1) >> 8, rows - 1, distance - 1])
    open(f"{out}/{name}", "wb").write(head + zlib.compress(bytes(raw), 9))
PY

# CSV files: two bytes of grid size (rows, columns), then the file.
c="$out/grid_csv"
printf '\x02\x03"a""b",5,Yes\r\n"",,No\r\n' >"$c/written"
printf '\x03\x02a\r\nb,c,d\r\n"x\r\ny",2\n' >"$c/unquoted"
printf '\x01\x01"open quote,\r\n' >"$c/open_quote"

# Clipboard texts.
printf 'a\tb\tc\r\nd\te\r\n' >"$out/clipboard/block"
printf 'single' >"$out/clipboard/single"
printf '\r\n\t\n\r' >"$out/clipboard/ends"

rm -rf "$final"
mv "$out" "$final"
