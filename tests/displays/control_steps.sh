# Steps on the display control dialogs of a running case under Wine (sourced after e2e_steps.sh; the
# working folder is the case's run folder). Each step takes the prefix of its screenshots.
#   check_layout     the progress log, the "Output Units" bar, the flowfield and surface toolbars and the
#                    forces dialog do not overlap (after 5 passes)
#   check_pictures   after the first output: the flowfield picture (legend bar and plane) in the right
#                    half, the molecule number history at the top, a force, the legend strip dark
#   white_and_mach   "White B'grnd" turns the legend strip white; "Mach Number" clears "Log Scale" and
#                    the range spins
#   pick_property    a property picked from the flowfield toolbar's list shows in it
#   change_plane     the plane normal to x: the axis is selected and the picture changes
#   english_units    "Eng. (US)": the English toolbar and forces dialog, the moment point 1 m shown as
#                    3.281 ft, a property picked from the English list
#   ratio_units      "Dimensionless": the reference area and length asked for, the ratio toolbar ("axis
#                    at ratio") and the coefficient forces with that area
#   ratio_refused    with the stream at rest "Dimensionless" is refused once with "Option not
#                    available" and the bar stays as it was

check_layout() {
    await_lines "^ TIME" 5
    local rects=() r find a b
    for find in "wait:$LOG" "dialog:Output Units" "dialog:$FLOW_BAR" "dialog:$SURFACE_BAR" \
                "dialog:Force (N)"; do
        r=$(wine "$driver" "${find%%:*}" "${find#*:}" 30 rect | tr -d '\r') || fail "no window for $find"
        echo "layout: ${find#*:}: $r"
        rects+=("$r")
    done
    for ((a = 0; a < ${#rects[@]}; ++a)); do
        for ((b = a + 1; b < ${#rects[@]}; ++b)); do
            read -r l1 t1 r1 b1 <<<"${rects[a]}"
            read -r l2 t2 r2 b2 <<<"${rects[b]}"
            if ((l1 < r2 && l2 < r1 && t1 < b2 && t2 < b1)); then
                fail "windows $a (${rects[a]}) and $b (${rects[b]}) overlap"
            fi
        done
    done
    shot "$1_running"
}

# Distinct colours in a box of a screenshot (fractions of the main window: x0 x1 from the left, y0 y1
# up from the bottom), and its mean brightness 0..1. check_pictures sets the main window's place.
box_args() { awk -v l="$ml" -v b="$mb" -v W="$W" -v H="$H" -v x0="$1" -v x1="$2" -v y0="$3" -v y1="$4" \
    'BEGIN { printf "%dx%d+%d+%d", (x1 - x0) * W, (y1 - y0) * H, l + x0 * W, b - y1 * H }'; }
colours() { convert "$work/$1.png" -crop "$(box_args "$2" "$3" "$4" "$5")" -unique-colors txt:- | grep -c '^[0-9]'; }
brightness() { convert "$work/$1.png" -crop "$(box_args "$2" "$3" "$4" "$5")" -colorspace Gray -format '%[fx:mean]' info:; }

check_pictures() {
    await_lines "DTM changes from" 1
    sleep 3
    read -r ml mt mr mb <<<"$(wine "$driver" wait "$MAIN" 10 rect | tr -d '\r')" || fail "no main window"
    W=$((mr - ml)) H=$((mb - mt))
    shot "$1_pictures"
    local bar plane history force dark
    bar=$(colours "$1_pictures" 0.56 0.95 0.075 0.085)
    [ "$bar" -ge 60 ] || fail "the legend's colour bar shows $bar colours"
    plane=$(colours "$1_pictures" 0.52 0.98 0.15 0.6)
    [ "$plane" -ge 10 ] || fail "the flowfield plane shows $plane colours"
    history=$(colours "$1_pictures" 0.40 0.69 0.78 0.97)
    [ "$history" -ge 3 ] || fail "the history plot shows $history colours"
    force=$(wine "$driver" dialog "Force (N)" 10 get IDC_FORCE_X | tr -d '\r ')
    [ -n "$force" ] || fail "the forces dialog shows no force"
    dark=$(brightness "$1_pictures" 0.505 0.52 0.01 0.04)
    awk -v v="$dark" 'BEGIN { exit !(v < 0.2) }' || fail "the legend strip is not dark ($dark)"
}

white_and_mach() {
    drive dialog "$FLOW_BAR" check IDC_FLOW_WHITE 1 sleep 3000
    shot "$1_white"
    local light state
    light=$(brightness "$1_white" 0.505 0.52 0.01 0.04)
    awk -v v="$light" 'BEGIN { exit !(v > 0.8) }' || fail "the legend strip is not white ($light)"
    drive dialog "$FLOW_BAR" check IDC_FLOW_LOG_SCALE 1 sleep 1500 set IDC_FLOW_RANGE_LOW 3 set IDC_FLOW_RANGE_HIGH -2 sleep 1500
    drive dialog "$FLOW_BAR" select IDC_FLOW_PROPERTY 11 sleep 2000
    state=$(wine "$driver" dialog "$FLOW_BAR" 10 state IDC_FLOW_LOG_SCALE get IDC_FLOW_RANGE_LOW get IDC_FLOW_RANGE_HIGH | tr -d '\r ' | tr '\n' ' ')
    [ "$state" = "0 0 0 " ] || fail "after \"Mach Number\" log scale, low and high show \"$state\", expected 0 0 0"
    shot "$1_mach"
}

# pick_property <prefix> <item> <name>
pick_property() {
    local chosen
    chosen=$(wine "$driver" dialog "$FLOW_BAR" 30 select IDC_FLOW_PROPERTY "$2" sleep 2000 get IDC_FLOW_PROPERTY | tr -d '\r') ||
        fail "no flowfield toolbar"
    [ "$chosen" = "$3" ] || fail "the flowfield list shows \"$chosen\" after picking item $2, expected \"$3\""
    shot "$1_property"
}

change_plane() {
    local before after="" changed
    shot "$1_plane_z"
    before=$(wine "$driver" dialog "$FLOW_BAR" 10 get IDC_FLOW_POSITION | tr -d '\r ')
    drive dialog "$FLOW_BAR" radio IDC_FLOW_AXIS_X sleep 3000
    after=$(wine "$driver" dialog "$FLOW_BAR" 10 state IDC_FLOW_AXIS_X get IDC_FLOW_POSITION | tr -d '\r ' | tr '\n' ' ')
    after=${after% }
    [ "${after%% *}" = 1 ] || fail "the x axis is not selected after picking it ($after)"
    echo "plane: normal to z at $before, normal to x at ${after#* }"
    shot "$1_plane_x"
    # The picture of the new plane replaces the old one in the right half.
    changed=$(compare -metric AE "$work/$1_plane_z.png" "$work/$1_plane_x.png" -crop "$(box_args 0.52 0.98 0.15 0.6)" \
        null: 2>&1 | cut -d' ' -f1)
    [ "${changed%.*}" -ge 2000 ] 2>/dev/null || fail "the flowfield picture changed in only \"$changed\" pixels with the plane"
}

english_units() {
    local point="" chosen
    drive dialog "Force (N)" set IDC_POINT_X 1.0 dialog "Eng. (US)" radio IDC_UNITS_ENGLISH
    for _ in $(seq 60); do
        point=$(wine "$driver" dialog "Force (lbf)" 1 get IDC_POINT_X 2>/dev/null | tr -d '\r ')
        [ "$point" = "3.281" ] && break
        sleep 0.5
    done
    [ "$point" = "3.281" ] || fail "the English moment point shows \"$point\", expected 3.281"
    shot "$1_english"
    chosen=$(wine "$driver" dialog "ft" 30 select IDC_FLOW_PROPERTY 3 get IDC_FLOW_PROPERTY | tr -d '\r') || fail "no English toolbar"
    [ "$chosen" = "Density" ] || fail "the flowfield list shows \"$chosen\" after picking item 3"
}

ratio_units() {
    local area
    drive dialog "Dimensionless" radio IDC_UNITS_RATIO wait "Characteristic Area" 60 set IDC_AREA 2.0 set IDC_LENGTH 0.5 press IDOK
    drive gone "Characteristic Area" 30 dialog "axis at ratio" 60 dialog "Force coeff." 30 sleep 3000
    shot "$1_dimensionless"
    area=$(wine "$driver" dialog "Force coeff." 10 get IDC_REFERENCE_AREA | tr -d '\r ')
    [ "$area" = "2.000" ] || fail "the coefficients' reference area shows \"$area\", expected 2.000"
}

ratio_refused() {
    drive dialog "Dimensionless" radio IDC_UNITS_RATIO wait "Option not available" 60
    shot "$1_refused"
    drive wait "Option not available" 5 press IDOK gone "Option not available" 30 sleep 3000 gone "Option not available" 1
    local si
    si=$(wine "$driver" dialog "Metric  (SI)" 10 state IDC_UNITS_SI dialog "Force (N)" 10 | tr -d '\r ')
    [ "$si" = "1" ] || fail "after the refusal \"Metric  (SI)\" shows state \"$si\""
}
