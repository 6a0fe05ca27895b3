#!/usr/bin/env python3
"""Reads a DXF file with ezdxf (run it with Debian's python3: PATH=$(getconf PATH)) and prints what
the tests compare: the entity count of each type, by ezdxf and by a plain scan of the group lines, the
layers, the line types and the errors of ezdxf's audit. Exits 1 when the file cannot be read.

usage: dxf_read.py FILE.dxf
"""
import collections
import sys

import ezdxf


def scanned_counts(path):
    # The ENTITIES section's "0" groups, read as plain code/value line pairs.
    lines = open(path, "rb").read().decode("latin-1").split("\r\n")
    counts = collections.Counter()
    inside = False
    for code, value in zip(lines[0::2], lines[1::2]):
        if code.strip() == "2" and value == "ENTITIES":
            inside = True
        elif code.strip() == "0" and value == "ENDSEC":
            inside = False
        elif inside and code.strip() == "0":
            counts[value] += 1
    return counts


def main():
    path = sys.argv[1]
    try:
        doc = ezdxf.readfile(path)
    except Exception as e:  # any failure to read is the finding
        print("FAIL: ezdxf cannot read the file:", e)
        return 1
    counts = collections.Counter(e.dxftype() for e in doc.modelspace())
    for kind in ("LINE", "POINT", "POLYLINE", "TEXT", "SOLID", "CIRCLE", "ARC"):
        print(f"entity {kind} {counts[kind]}")
    scanned = scanned_counts(path)
    for kind in ("LINE", "POINT", "POLYLINE", "TEXT", "SOLID", "CIRCLE", "ARC"):
        print(f"scanned {kind} {scanned[kind]}")
    print("layers " + " ".join(sorted(layer.dxf.name for layer in doc.layers)))
    print("linetypes " + " ".join(sorted(lt.dxf.name.upper() for lt in doc.linetypes)))
    auditor = doc.audit()
    print(f"audit errors {len(auditor.errors)}")
    for error in auditor.errors:
        print("audit:", error.message)
    return 0


if __name__ == "__main__":
    sys.exit(main())
