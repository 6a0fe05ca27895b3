# What every shell test shares (sourced by each): how a check fails, screenshots of the X screen, calls
# of the UI driver and Debian's own python3.
#
# A check fails in one of two ways:
#   fail TEXT        the test cannot go on: "FAIL: TEXT" on standard error, then the test's own
#                    on_fail function when it has one (it ends what the test started), exit status 1;
#   note_failure TEXT
#                    the test goes on with its other checks: "FAIL: TEXT" on standard output, counted in
#                    $failures; end_checks TEXT at the end prints TEXT when none failed and exits 1 when
#                    any did.
# shot NAME          saves the X screen as $work/NAME.png
# drive STEP...      runs the UI driver ($driver) with these steps; fails the test when a step fails.
#                    Control ids are named as in resources/dialog_ids.h (uidriver.exe --help).
# debian_python ...  Debian's python3 (whatever python3 the PATH finds first may lack Debian's modules)

failures=0

fail() {
    echo "FAIL: $*" >&2
    declare -F on_fail >/dev/null && on_fail
    exit 1
}

note_failure() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

end_checks() {
    [ "$failures" -eq 0 ] && echo "$*"
    exit $((failures > 0))
}

shot() { import -window root "$work/$1.png" 2>/dev/null || fail "no screenshot $1"; }
drive() { wine "$driver" "$@" || fail "uidriver $*"; }
debian_python() { PATH=$(getconf PATH) python3 "$@"; }
