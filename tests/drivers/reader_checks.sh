# What the reader checks share (sourced): a work folder made anew, the failure count, the readers that
# must be there, and the DXF entity counts that ezdxf and a plain scan must agree on.
#   source reader_checks.sh WORKDIR

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rm -rf "$1" && mkdir -p "$1" && cd "$1" || exit 1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
debian_python() { PATH=$(getconf PATH) python3 "$@"; }
# Exits 1 when one of the named programs (or "ezdxf", the Python module) is missing.
need_readers() {
    for reader in "$@"; do
        if [ "$reader" = ezdxf ]; then
            debian_python -c "import ezdxf" 2>/dev/null || fail "reader ezdxf is missing"
        else
            command -v "$reader" >/dev/null || fail "reader $reader is missing"
        fi
    done
    [ "$failures" -eq 0 ] || exit 1
}
# The output of dxf_read.py in dxf.txt: ezdxf's count of each entity type equals the plain scan's.
dxf_counts_agree() {
    for kind in LINE POINT POLYLINE TEXT SOLID CIRCLE ARC; do
        a=$(grep "^entity $kind " dxf.txt | cut -d' ' -f3)
        b=$(grep "^scanned $kind " dxf.txt | cut -d' ' -f3)
        [ "$a" = "$b" ] || fail "DXF $kind: ezdxf counts $a, the scan $b"
    done
}
