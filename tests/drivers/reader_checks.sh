# What the reader checks share (sourced): the shell tests' common steps (a failed check is counted by
# note_failure, and the checks go on), a work folder made anew, the scene tool run natively or under
# Wine, the readers that must be there, and the DXF entity counts that ezdxf and a plain scan must
# agree on.
#   source reader_checks.sh WORKDIR     (with $mode native or wine and $exe the scene tool)

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../test_steps.sh"
rm -rf "$1" && mkdir -p "$1" && cd "$1" || exit 1
scene() { if [ "$mode" = wine ]; then wine "$exe" "$@"; else "$exe" "$@"; fi; }
# Exits 1 when one of the named programs (or "ezdxf", the Python module) is missing.
need_readers() {
    for reader in "$@"; do
        if [ "$reader" = ezdxf ]; then
            debian_python -c "import ezdxf" 2>/dev/null || note_failure "reader ezdxf is missing"
        else
            command -v "$reader" >/dev/null || note_failure "reader $reader is missing"
        fi
    done
    [ "$failures" -eq 0 ] || exit 1
}
# The output of dxf_read.py in dxf.txt: ezdxf's count of each entity type equals the plain scan's.
dxf_counts_agree() {
    for kind in LINE POINT POLYLINE TEXT SOLID CIRCLE ARC; do
        a=$(grep "^entity $kind " dxf.txt | cut -d' ' -f3)
        b=$(grep "^scanned $kind " dxf.txt | cut -d' ' -f3)
        [ "$a" = "$b" ] || note_failure "DXF $kind: ezdxf counts $a, the scan $b"
    done
}
