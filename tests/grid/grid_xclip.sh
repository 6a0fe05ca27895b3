#!/usr/bin/env bash
# The grid's clipboard against the X clipboard of the display (Wine links the two): the block the grid
# copies is read by an X client, and text an X client gives is pasted into the grid. The X client is
# xclip, or Tk from Python where xclip is missing. Usage: grid_xclip.sh <grid_tests.exe> <work folder>
set -u
tests=$1
work=$2
source "$(dirname "$0")/../test_steps.sh"
rm -rf "$work" && mkdir -p "$work" && cd "$work" || fail "no work folder"

x_read() {
    if command -v xclip >/dev/null; then
        timeout 10 xclip -o -selection clipboard
    else
        timeout 10 python3 -c 'import sys, tkinter; r = tkinter.Tk(); r.withdraw(); sys.stdout.write(r.clipboard_get())'
    fi
}
# Gives the text on the X side and serves it until killed.
x_give() {
    if command -v xclip >/dev/null; then
        printf '%s' "$1" | xclip -i -quiet -selection clipboard >/dev/null 2>&1 &
    else
        python3 -c 'import sys, time, tkinter
r = tkinter.Tk(); r.withdraw(); r.clipboard_clear(); r.clipboard_append(sys.argv[1]); r.update()
while True:
    r.update(); time.sleep(0.05)' "$1" &
    fi
    giver=$!
}

# 1. The grid copies a 2 x 3 block; the X side reads it (line ends as X has them, LF).
rm -f xclip_ready xclip_done
wine "$tests" --gtest_also_run_disabled_tests --gtest_filter='*XclipReadsTheCopy' > copy.log 2>&1 &
copier=$!
for _ in $(seq 150); do [ -e xclip_ready ] && break; sleep 0.2; done
[ -e xclip_ready ] || fail "the grid did not copy (copy.log)"
got=$(x_read | od -An -c | tr -s ' ')
touch xclip_done
wait "$copier" || fail "the copying test failed (copy.log)"
want=$(printf 't1\t5\tYes\nt2\t\tNo' | od -An -c | tr -s ' ')
[ "$got" = "$want" ] || fail "the X side read [$got], wanted [$want]"

# 2. The X side gives two rows; the grid pastes them as a block.
x_give "$(printf 'x1\t42\nx2\t\tyes')"
sleep 1
wine "$tests" --gtest_also_run_disabled_tests --gtest_filter='*XclipTextPastes' > paste.log 2>&1
status=$?
kill "$giver" 2>/dev/null
wait "$giver" 2>/dev/null
[ "$status" -eq 0 ] || fail "the paste test failed (paste.log)"
echo "2 passed, 0 failed"
