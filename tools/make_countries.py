#!/usr/bin/env python3
"""Build data/Countries.dat from the public GSHHG shorelines and borders.

Needs Debian's gmt and gmt-gshhg-low packages (tools only, not the build):
    apt-get install gmt gmt-gshhg-low

The segments come from GMT at its low ("l") resolution:
    gmt coast -Rd -Dl -A20/0/2 -W -M     shorelines of land and lakes
    gmt coast -Rd -Dl -N1 -M             national borders

Islands and lakes under 20 km² are left out: on the 10 km grids they are
less than a quarter of a pixel, and every point costs a projection each
time the boundaries are drawn. Points are rounded to whole minutes of arc
(under 2 km), well below a pixel.

GMT hands them out cut at the edges of its storage bins; the pieces are
joined again end to end. The viewer draws every boundary record as a
closed polygon, so a joined line that does not come back to its start
(a border, a coast cut at the edge of the map) is written out and back.

Record layout (little-endian, no file header): int32 point count, uint8
segment type (0 shoreline, 4 national border), then the points as int16
longitude and latitude in minutes of arc.

Usage: tools/make_countries.py [output]   (default data/Countries.dat)
"""
import os
import struct
import subprocess
import sys
import tempfile
from collections import defaultdict

SHORELINE, BORDER = 0, 4
COMMANDS = [
    (SHORELINE, ["gmt", "coast", "-Rd", "-Dl", "-A20/0/2", "-W", "-M"]),
    (BORDER, ["gmt", "coast", "-Rd", "-Dl", "-N1", "-M"]),
]
MINUTES = 60
HALF_TURN = 180 * MINUTES


def read_pieces(command):
    # GMT leaves a history file in its working folder: give it a scratch one.
    with tempfile.TemporaryDirectory() as scratch:
        text = subprocess.run(command, check=True, capture_output=True, text=True, cwd=scratch).stdout
    pieces, current = [], []
    for line in text.splitlines():
        if line.startswith(">"):
            if current:
                pieces.append(current)
            current = []
            continue
        fields = line.split()
        if len(fields) < 2:
            continue
        point = (round(float(fields[0]) * MINUTES), round(float(fields[1]) * MINUTES))
        if not current or current[-1] != point:
            current.append(point)
    if current:
        pieces.append(current)
    return [p for p in pieces if len(p) >= 2]


def key(point):
    # Both sides of the date line are one meridian for joining.
    lon, lat = point
    return (HALF_TURN if lon == -HALF_TURN else lon, lat)


def join(pieces):
    ends = defaultdict(set)
    for i, p in enumerate(pieces):
        ends[key(p[0])].add(i)
        ends[key(p[-1])].add(i)
    used = [False] * len(pieces)

    def take(at):
        for j in sorted(ends[at]):
            if not used[j]:
                used[j] = True
                ends[key(pieces[j][0])].discard(j)
                ends[key(pieces[j][-1])].discard(j)
                p = pieces[j]
                return p if key(p[0]) == at else p[::-1]
        return None

    lines = []
    for i, start in enumerate(pieces):
        if used[i]:
            continue
        used[i] = True
        ends[key(start[0])].discard(i)
        ends[key(start[-1])].discard(i)
        line = list(start)
        while key(line[-1]) != key(line[0]):
            nxt = take(key(line[-1]))
            if nxt is None:
                break
            line.extend(nxt[1:])
        while key(line[-1]) != key(line[0]):
            prv = take(key(line[0]))
            if prv is None:
                break
            line[:0] = prv[::-1][:-1]
        lines.append(line)
    return lines


def record(seg_type, line):
    if key(line[0]) != key(line[-1]):
        line = line + line[-2::-1]
    data = bytearray(struct.pack("<iB", len(line), seg_type))
    for lon, lat in line:
        data += struct.pack("<hh", lon, lat)
    return bytes(data)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "data", "Countries.dat")
    blob = bytearray()
    for seg_type, command in COMMANDS:
        lines = join(read_pieces(command))
        points = sum(len(x) for x in lines)
        print(f"{' '.join(command)}: {len(lines)} lines, {points} points", file=sys.stderr)
        for line in lines:
            blob += record(seg_type, line)
    with open(out, "wb") as f:
        f.write(blob)
    print(f"wrote {out}: {len(blob)} bytes", file=sys.stderr)


if __name__ == "__main__":
    main()
