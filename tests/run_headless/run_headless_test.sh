#!/usr/bin/env bash
# Usage: run_headless_test.sh <qr4t-headless> <qr4t-dump> <folder with QR4TD.DM1 and QR4SD.DM1> <work folder>
# Runs a small stream case (a 2 x 1 x 4 box of a one-species gas, stream in at min x, vacuum at max x)
# as a new run, again, continued and adapted, and checks the program's own files.
set -u
program=$1
dump=$2
case_dir=$3
work=$4
source "$(dirname "$0")/../test_steps.sh"

fresh() {
    rm -rf "$1" && mkdir -p "$1" && cp "$case_dir/QR4TD.DM1" "$case_dir/QR4SD.DM1" "$1/"
}

mkdir -p "$work"

# The command lines a user meets first: --help explains, wrong values are refused with status 2.
"$program" --help >"$work/help.txt" || fail "qr4t-headless --help exited with status $?"
grep -q "Vacuum System" "$work/help.txt" || fail "qr4t-headless --help does not explain the run types"
"$dump" --help | grep -q "number density" || fail "qr4t-dump --help does not name the results"
for bad in "--run-type 7" "--run-type 0" "--passes -1" "--passes x" "--run-type" "--speed 3"; do
    (cd "$work" && "$program" $bad >/dev/null 2>"$work/refusal.txt")
    [ $? -eq 2 ] || fail "qr4t-headless $bad was not refused with status 2"
done
"$dump" --everything >/dev/null 2>&1
[ $? -eq 2 ] || fail "qr4t-dump --everything was not refused with status 2"

# A new run of 60 passes; each output prints a progress line.
fresh "$work/a"
(cd "$work/a" && "$program" --run-type 3 --passes 60 >"$work/a_stdout.txt") || fail "new run exited with status $?"
[ "$(grep -c '^output [0-9]*: time .* s, [0-9]* molecules, [0-9]* collisions$' "$work/a_stdout.txt")" -eq \
  "$(grep -c '^ DTM changes from' "$work/a/DIAG.TXT")" ] || fail "not one progress line per output: $(cat "$work/a_stdout.txt")"
log="$work/a/DIAG.TXT"
grep -q "^ The Scale Factor is   10.00000" "$log" || fail "no scale factor line"
grep -q "^ INITIAL STATE SET WITH        8000  MOLECULES" "$log" || fail "no initial state line"
grep -q "^ RESTART FILE WRITTEN" "$log" || fail "no restart line"
# The initial state is logged, then the set written, and only then "RESTART FILE WRITTEN".
order=$(grep -n -e "^ INITIAL STATE SET WITH" -e "^ Writing restart files" -e "^ RESTART FILE WRITTEN" "$log" |
    head -n 3 | cut -d: -f2 | cut -c1-12 | tr '\n' '|')
[ "$order" = " INITIAL STA| Writing res| RESTART FIL|" ] || fail "log order at the new run's start: $order"
# The close request answers the first poll of pass 61, which has written its time-step line already.
[ "$(grep -c '^ TIME' "$log")" -eq 61 ] || fail "expected 61 time-step lines, found $(grep -c '^ TIME' "$log")"
grep -q "^ DTM changes from" "$log" || fail "no output in 60 passes"
# Every time-step line is 76 characters and CR LF.
awk '/^ TIME/ { if (length($0) != 77) bad = 1 } END { exit bad }' "$log" || fail "a time-step line is not 76 characters + CR LF"
for f in QR4TP QR4TM1 QR4TM2 QR4TM3 QR4TM4 QR4TV1 QR4TV2 QR4TC1 QR4TC2 QR4TCS; do
    [ -s "$work/a/$f.RES" ] || fail "restart file $f.RES missing"
done

# The restart set reads back: the dump shows the run's time and molecules, and one row per cell.
summary=$(cd "$work/a" && "$dump" --summary | tail -n 1) || fail "qr4t-dump --summary failed"
last_nm=$(grep '^ TIME' "$log" | tail -n 2 | head -n 1 | awk '{print $4}')
[ "$(echo "$summary" | cut -d, -f2)" -gt 7000 ] || fail "dump summary: $summary"
[ "$(cd "$work/a" && "$dump" --cells | wc -l)" -eq 65 ] || fail "dump --cells: expected 64 cells and a header"
header=$(cd "$work/a" && "$dump" --cells | head -n 1)
[ "$header" = "cell,x[m],y[m],z[m],sample_size,number_density[1/m3],density[kg/m3],u[m/s],v[m/s],w[m/s],translational_temperature[K],rotational_temperature[K],vibrational_temperature[K],temperature[K],mach_number,molecules_per_cell,mean_collision_time[s],mean_free_path[m],separation_per_mean_free_path,speed[m/s],pressure[Pa],fraction_1" ] ||
    fail "dump --cells header: $header"
[ -n "$last_nm" ] || fail "no molecule count in the log"

# qr4t-dump only reads: a set whose writing was interrupted (its marker in place, two files still under
# their temporary names) is read as the marker lists it, and the folder is left as it was (the dump
# once completed the renames itself).
rm -rf "$work/p" && cp -r "$work/a" "$work/p"
(cd "$work/p" && mv QR4TSET.TXT QR4TSET.NEW && mv QR4TM1.RES QR4TM1.RES.NEW && mv QR4TV2.RES QR4TV2.RES.NEW)
before=$(cd "$work/p" && ls && cat ./* | md5sum)
pending=$(cd "$work/p" && "$dump" --summary | tail -n 1) || fail "qr4t-dump --summary of a pending set failed"
[ "$pending" = "$summary" ] || fail "dump of the pending set: $pending, of the whole set: $summary"
[ "$(cd "$work/p" && ls && cat ./* | md5sum)" = "$before" ] || fail "qr4t-dump changed the folder it reads"

# The same run again gives a byte-identical log: one generator, a fixed order.
fresh "$work/b"
(cd "$work/b" && "$program" --run-type 3 --passes 60) || fail "second new run exited with status $?"
cmp -s "$work/a/DIAG.TXT" "$work/b/DIAG.TXT" || fail "the repeated run's DIAG.TXT differs"

# Continue from the set of run a: no initial state, the time goes on from the last output.
cp -r "$work/a" "$work/c"
(cd "$work/c" && "$program" --run-type 1 --passes 20) || fail "continued run exited with status $?"
clog="$work/c/DIAG.TXT"
grep -q "INITIAL STATE" "$clog" && fail "a continued run set an initial state"
[ "$(grep -c '^ TIME' "$clog")" -eq 21 ] || fail "continued run: expected 21 time-step lines"
first=$(grep -m1 '^ TIME' "$clog" | awk '{print $2}')
awk -v t="$first" 'BEGIN { exit !(t > 5.0e-5) }' || fail "continued run restarted its clock: $first"

# Adapt the cells to 10 molecules per cell, then continue.
cp -r "$work/a" "$work/d"
echo "144 1015 10" > "$work/d/answers.txt"
(cd "$work/d" && "$program" --run-type 2 --passes 10 --answers answers.txt) || fail "adapted run exited with status $?"
[ "$(grep -c '^ TIME' "$work/d/DIAG.TXT")" -eq 11 ] || fail "adapted run: expected 11 time-step lines"
echo "run_headless: new, repeated, continued and adapted runs passed"
