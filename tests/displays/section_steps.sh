# The flowfield section display on a running case under Wine, after its first output (sourced after
# e2e_steps.sh; the working folder is the case's run folder). section_tour <prefix>: ticking "Pause
# Program for Detailed Plot" opens the display window beside its three dialogs; presses are logged, a
# left press reports a point, a right press adds a flow-direction line; a division typed as 0 becomes 1;
# raising the picture spin by one saves "D3D0001.BMP" (ImageMagick reads it as 621 x 690, with the colour
# bar of the legend in ramp colours), lowering it saves nothing; closing the window brings the bars back
# and the run goes on. Screenshots are named after the prefix. The point reported lies at (x, y) of the
# window's client in 0..9999 units (5000 4500 when not given) and must be in a sampled cell.
rect_of() { wine "$driver" dialog "$1" 30 rect | tr -d '\r' || fail "no dialog shows \"$1\""; }
# The colour of number k of the continuous ramp (red green blue, 0..255).
ramp() {
    awk -v k="$1" 'BEGIN {
        if (k <= 64) print 0, 4 * (k - 1), 255
        else if (k <= 128) print 0, 255, 255 - 4 * (k - 65)
        else if (k <= 192) print 4 * (k - 129), 255, 0
        else { g = 256 - 4 * (k - 193); print 255, (g > 255 ? 255 : g), 0 }
    }'
}

section_tour() {
    local at_x=${2:-5000} at_y=${3:-4500}
    local window plane report map presses sample division size x pixel n times label
    local pl pt pr pb rl rt rr rb al at ar ab wl wt wr wb

    # ---- opening: the bars give way to the window and its three dialogs in the left column
    drive dialog "$FLOW_BAR" 30 check IDC_FLOW_PAUSE 1
    drive wait "$SECTION" 60
    window=$(wine "$driver" wait "$SECTION" 5 rect | tr -d '\r')
    plane=$(rect_of "Show Flowfield in Plane Normal to")
    report=$(rect_of "Properties for mols. of species")
    map=$(rect_of "Generate file D3D")
    echo "section: window $window, dialogs $plane / $report / $map"
    read -r pl pt pr pb <<<"$plane"
    read -r rl rt rr rb <<<"$report"
    read -r al at ar ab <<<"$map"
    read -r wl wt wr wb <<<"$window"
    # A left column, top to bottom, each at most 390 pixels wide, within 768 rows, left of the window.
    ((pl < 10 && rl < 10 && al < 10 && pb <= rt && rb <= at && ab <= 768)) || fail "dialogs not in one column"
    ((pr - pl <= 392 && rr - rl <= 392 && ar - al <= 392)) || fail "a dialog is wider than 390 pixels"
    ((pr <= wl && rr <= wl && ar <= wl && wt <= 30)) || fail "the window lies over the dialogs"
    wine "$driver" dialog "Output Units" 1 2>/dev/null && fail "the \"Output Units\" bar is still shown"
    shot "$1_section_open"

    # ---- presses: each is logged; a left press inside reports a point, a right press adds a line
    presses=$(count "JSDIR=3, I")
    drive wait "$SECTION" 5 click left "$at_x" "$at_y"
    await_lines "JSDIR=3, I" $((presses + 1))
    sample=""
    for _ in $(seq 60); do
        sample=$(wine "$driver" dialog "Properties for mols. of species" 5 get IDC_REPORT_SAMPLE_SIZE | tr -d '\r ')
        [ -n "$sample" ] && [ "$sample" != "0" ] && break
        sleep 0.5
    done
    [ -n "$sample" ] && [ "$sample" != "0" ] || fail "the point report shows sample size \"$sample\""
    drive wait "$SECTION" 5 click right 3000 4500
    await_lines "JSDIR=3, I" $((presses + 2))
    # A division typed as 0 becomes 1 at the next pass (a press in the legend wakes the loop).
    drive dialog "Show Flowfield in Plane Normal to" 5 set IDC_SECTION_DIVISION 0
    drive wait "$SECTION" 5 click left 5000 9800
    await_lines "JSDIR=3, I" $((presses + 3))
    division=""
    for _ in $(seq 60); do
        division=$(wine "$driver" dialog "Show Flowfield in Plane Normal to" 5 get IDC_SECTION_DIVISION | tr -d '\r ')
        [ "$division" = "1" ] && break
        sleep 0.5
    done
    [ "$division" = "1" ] || fail "division 0 shows \"$division\", expected 1"
    shot "$1_section_point_and_line"

    # ---- the picture: the spin raised by one saves D3D0001.BMP
    drive dialog "Generate file D3D" 5 set IDC_MAP_PICTURE 2
    drive wait "$SECTION" 5 click left 5000 9800 file D3D0001.BMP 60 sleep 1000
    size=$(identify -format "%w x %h" D3D0001.BMP 2>/dev/null) || fail "ImageMagick cannot read D3D0001.BMP"
    [ "$size" = "621 x 690" ] || fail "D3D0001.BMP is $size"
    # Three cells of the colour bar (colour numbers near 32, 128 and 200 of the continuous ramp) on its
    # middle row: the legend's units run -0.055555..1.055555 across the 621 pixels, the bar from 0.065 to
    # 0.1 of the strip's 0.1 (rows 621..689). A cell is about 2 pixels wide, so the pixel must show the ramp
    # colour of its number or of a neighbour.
    for n in 32 128 200; do
        x=$(awk -v n="$n" 'BEGIN { printf "%d", ((n - 0.5) / 254 + 0.055555) / 1.11111 * 620 + 0.5 }')
        pixel=$(convert D3D0001.BMP -format "%[fx:int(255*p{$x,632}.r+0.5)] %[fx:int(255*p{$x,632}.g+0.5)] %[fx:int(255*p{$x,632}.b+0.5)]" info:)
        [ "$pixel" = "$(ramp $((n - 1)))" ] || [ "$pixel" = "$(ramp "$n")" ] || [ "$pixel" = "$(ramp $((n + 1)))" ] ||
            fail "bar pixel $x (colour $n) is ($pixel), expected ($(ramp "$n"))"
    done
    # Lowering the spin below the counter saves nothing.
    drive dialog "Generate file D3D" 5 set IDC_MAP_PICTURE 1
    drive wait "$SECTION" 5 click left 5000 9800 sleep 2000
    [ -e D3D0002.BMP ] && fail "a lowered spin saved D3D0002.BMP"

    # ---- closing: the bars come back, the pause box is clear, and the run goes on
    times=$(count "^ TIME")
    drive wait "$SECTION" 5 close gone "$SECTION" 30
    for label in "Output Units" "$FLOW_BAR" "$SURFACE_BAR" "Force (N)"; do
        wine "$driver" dialog "$label" 30 >/dev/null || fail "\"$label\" is not shown again"
    done
    wine "$driver" dialog "Show Flowfield in Plane Normal to" 1 2>/dev/null && fail "the section dialogs are still shown"
    await_lines "^ TIME" $((times + 3))
    shot "$1_section_closed"
}
