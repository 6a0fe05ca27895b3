#!/usr/bin/env python3
"""Walks a binary CGM file element by element: command headers, short and long forms, partitions and
pad bytes. The walk must end exactly at END METAFILE, with every picture begun and ended in order.
Prints one line per fact the tests read:
  elements N / pictures N / title TEXT / vdc W H / fonts N / count CLASS,ID N / cells NX NY ROWS
and exits 1 with the reason when the file is not a well-formed metafile.

usage: cgm_walk.py FILE.cgm
"""
import collections
import sys


def fail(why):
    print("FAIL:", why)
    sys.exit(1)


def words(data, at, n):
    return [int.from_bytes(data[at + 2 * i:at + 2 * i + 2], "big", signed=True) for i in range(n)]


def string_at(data, at):
    n = data[at]
    if n == 255:
        n = int.from_bytes(data[at + 1:at + 3], "big") & 0x7FFF
        return data[at + 3:at + 3 + n], 3 + n
    return data[at + 1:at + 1 + n], 1 + n


def main():
    data = open(sys.argv[1], "rb").read()
    at = 0
    counts = collections.Counter()
    facts = []
    state = "start"
    while True:
        if at + 2 > len(data):
            fail(f"file ends at byte {at} before END METAFILE")
        head = int.from_bytes(data[at:at + 2], "big")
        at += 2
        cls, eid, n = head >> 12, (head >> 5) & 127, head & 31
        params = b""
        if n < 31:
            params = data[at:at + n]
            if len(params) != n:
                fail(f"element {cls},{eid} runs past the end")
            at += n + (n % 2)
        else:
            partitions = 0
            while True:
                word = int.from_bytes(data[at:at + 2], "big")
                at += 2
                more, size = word >> 15, word & 0x7FFF
                chunk = data[at:at + size]
                if len(chunk) != size:
                    fail(f"partition of element {cls},{eid} runs past the end")
                if more and size % 2:
                    fail(f"element {cls},{eid}: odd partition length {size} before a further one")
                params += chunk
                at += size + (size % 2)
                partitions += 1
                if not more:
                    break
            counts["partitions"] += partitions
        counts[(cls, eid)] += 1
        if state == "start" and (cls, eid) != (0, 1):
            fail("the first element is not BEGIN METAFILE")
        if (cls, eid) == (0, 1):
            if state != "start":
                fail("a second BEGIN METAFILE")
            text, used = string_at(params, 0)
            if used != len(params):
                fail(f"BEGIN METAFILE length {len(params)} holds a string of {used} bytes")
            facts.append("title " + text.decode("latin-1"))
            state = "metafile"
        elif (cls, eid) == (0, 3):
            if state != "metafile":
                fail("BEGIN PICTURE inside a picture")
            state = "picture"
        elif (cls, eid) == (0, 5):
            if state != "picture":
                fail("END PICTURE outside a picture")
            state = "metafile"
        elif (cls, eid) == (0, 2):
            if state != "metafile":
                fail("END METAFILE inside a picture")
            if at != len(data):
                fail(f"{len(data) - at} bytes after END METAFILE")
            break
        elif (cls, eid) == (2, 6):
            facts.append("vdc %d %d %d %d" % tuple(words(params, 0, 4)))
        elif (cls, eid) == (1, 13):
            k, names = 0, 0
            while k < len(params) and params[k] != 0:
                _, used = string_at(params, k)
                k += used
                names += 1
            facts.append(f"fonts {names} bytes {len(params)}")
        elif (cls, eid) in ((4, 4), (4, 5)):
            first = 10 if eid == 5 else 6
            text, used = string_at(params, first)
            if first + used != len(params):
                fail(f"text element length {len(params)} holds {first + used} bytes")
        elif (cls, eid) == (4, 9):
            nx, ny = words(params, 12, 2)
            k, rows = 20, 0
            while k < len(params):
                cells = 0
                while cells < nx:
                    cells += int.from_bytes(params[k:k + 2], "big")
                    k += 5
                if cells != nx:
                    fail(f"cell row of {cells} cells, want {nx}")
                if (k % 2):
                    k += 1
                rows += 1
            facts.append(f"cells {nx} {ny} {rows}")
        if (cls, eid) == (1, 1):
            facts.append("version %d" % words(params, 0, 1)[0])
    facts.append(f"pictures {counts[(0, 3)]}")
    facts.append(f"elements {sum(v for k, v in counts.items() if k != 'partitions')}")
    facts.append(f"partitions {counts['partitions']}")
    for (key, value) in sorted((k, v) for k, v in counts.items() if k != "partitions"):
        facts.append(f"count {key[0]},{key[1]} {value}")
    print("\n".join(facts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
