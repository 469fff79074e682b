#!/usr/bin/env python3
"""Whole-process comparison of `brevix-cli check` with qhull's `qhalf`.

For each size N the same N half-spaces, the planes of a random convex
polyhedron (tangent to a sphere at random points, every one a facet), are
written twice: as a text design (.asc) that `brevix-cli check` reads, rebuilds
and checks, and as qhalf's input with the centre as its interior point. Each
program then runs REPEATS times, the two taking turns, and the table gives the
median CPU time (user + system) of each process and their ratio.

Designs given with --design are compared the same way on their own planes
(as `brevix-cli json` gives them): `check` of the design file against qhalf
on its facets' half-spaces.

Before timing, the script makes sure both read every plane as a facet: qhalf
finds N non-redundant half-spaces, and brevix-cli's check passes with N
facets.

  bench/compare_qhalf.py [--cli build/brevix-cli] [--sizes 73,1000,3000]
                         [--design samples/round_brilliant.asc ...]
                         [--repeats 9] [--seed 1] [--keep DIR]

Needs qhalf (Debian: qhull-bin) only when it runs.
"""
import argparse
import json
import math
import os
import random
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile

# What the design reader does with a text design's numbers: an angle in
# degrees (negative below the girdle) and a distance in file units.
READ_PI = 3.141592653589793
FILE_SCALE = 0.9
GEAR = 96
# The rough stone every design is cut from is a cube of this half-size: the
# polyhedron is kept well inside it, so that no side of the rough remains.
ROUGH_HALF = 1.02
FIT = 0.9


def random_directions(count, rng):
    directions = []
    while len(directions) < count:
        x, y, z = rng.gauss(0, 1), rng.gauss(0, 1), rng.gauss(0, 1)
        r = math.sqrt(x * x + y * y + z * z)
        if r > 1e-9:
            directions.append((x / r, y / r, z / r))
    return directions


def design_numbers(u, distance):
    """Angle, file distance and gear index of the plane u . x = distance."""
    ux, uy, uz = u
    azimuth = math.atan2(ux, uy) % (2 * math.pi)
    index = azimuth * GEAR / (2 * math.pi)
    if uz >= 0:
        angle = math.degrees(math.acos(min(1.0, uz)))
    else:
        angle = -math.degrees(math.acos(min(1.0, -uz)))
    return angle, distance / FILE_SCALE, index


def plane_as_read(angle, file_distance, index):
    """The plane (unit normal, offset) the reader and the kernel make of a line."""
    tilt = angle * READ_PI / 180
    depth = file_distance * FILE_SCALE
    if angle < 0:
        depth = -depth
    if angle == 0:
        index = 0
    azimuth = 2 * math.pi * index / GEAR
    n = (math.sin(azimuth) * math.sin(tilt) / depth, math.cos(azimuth) * math.sin(tilt) / depth,
         math.cos(tilt) / depth)
    k = 1 / math.sqrt(n[0] ** 2 + n[1] ** 2 + n[2] ** 2)
    return (n[0] * k, n[1] * k, n[2] * k), k


def write_files(folder, count, directions, radius):
    lines = ["Brevix 5.0", f"g {GEAR} 0.0", "y 1 n", "I 1.54",
             f"H {count} random planes tangent to a sphere"]
    halfspaces = []
    for u in directions:
        angle, distance, index = design_numbers(u, radius)
        angle_text, distance_text, index_text = f"{angle:.15f}", f"{distance:.15f}", f"{index:.15f}"
        lines.append(f"a {angle_text} {distance_text} {index_text}")
        normal, offset = plane_as_read(float(angle_text), float(distance_text), float(index_text))
        # qhalf: normal . x + offset <= 0 inside.
        halfspaces.append(f"{normal[0]!r} {normal[1]!r} {normal[2]!r} {-offset!r}")
    design = os.path.join(folder, f"planes{count}.asc")
    with open(design, "w") as out:
        out.write("\n".join(lines) + "\n")
    qhalf_input = os.path.join(folder, f"planes{count}.qhalf")
    with open(qhalf_input, "w") as out:
        out.write("3 1\n0 0 0\n4\n%d\n%s\n" % (count, "\n".join(halfspaces)))
    return design, qhalf_input


def write_design_halfspaces(cli, folder, design):
    """qhalf's input for the facets of `design`; their number."""
    described = run([cli, "json", design])
    if described.returncode != 0:
        sys.exit(f"brevix-cli json {design} failed:\n{described.stderr}")
    facets = [f for f in json.loads(described.stdout)["facets"] if not f["rough"]]
    # The facet's plane is a x + b y + c z = d, the stone on the side of the centre.
    halfspaces = [f"{f['a']!r} {f['b']!r} {f['c']!r} {-f['d']!r}" for f in facets]
    qhalf_input = os.path.join(folder, os.path.basename(design) + ".qhalf")
    with open(qhalf_input, "w") as out:
        out.write("3 1\n0 0 0\n4\n%d\n%s\n" % (len(halfspaces), "\n".join(halfspaces)))
    return qhalf_input, len(facets)


def run(command, stdin_path=None):
    with open(stdin_path or os.devnull) as stdin:
        result = subprocess.run(command, stdin=stdin, capture_output=True, text=True)
    return result


def qhalf_corners(qhalf, qhalf_input):
    """The intersection's corners (qhalf Fp) and its non-redundant half-spaces (Fs)."""
    points = run([qhalf, "Fp"], qhalf_input)
    if points.returncode != 0:
        sys.exit(f"qhalf failed on {qhalf_input}:\n{points.stderr}")
    rows = points.stdout.split("\n")
    count = int(rows[1])
    corners = [tuple(float(v) for v in row.split()) for row in rows[2:2 + count]]
    summary = run([qhalf, "Fs"], qhalf_input)
    numbers = summary.stdout.split()
    # Fs: 8 integers (dimension, #halfspaces, #non-redundant, #intersections, ...).
    non_redundant = int(numbers[3])
    return corners, non_redundant


def cpu_seconds(command, stdin_path=None):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    result = run(command, stdin_path)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if result.returncode != 0:
        sys.exit(f"{' '.join(command)} failed:\n{result.stderr}")
    return (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", default=os.path.join(os.path.dirname(__file__), "..", "build", "brevix-cli"))
    parser.add_argument("--qhalf", default=shutil.which("qhalf"))
    parser.add_argument("--sizes", default="73,1000,3000")
    parser.add_argument("--design", action="append", default=[], help="also compare on this design's planes")
    parser.add_argument("--repeats", type=int, default=9)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--keep", help="write the generated files here and keep them")
    args = parser.parse_args()
    if not args.qhalf:
        sys.exit("qhalf not found: install it (Debian: apt-get install qhull-bin) or give --qhalf")
    if not os.access(args.cli, os.X_OK):
        sys.exit(f"{args.cli} is not a program: build brevix-cli or give --cli")

    folder = args.keep or tempfile.mkdtemp(prefix="brevix-qhalf-")
    os.makedirs(folder, exist_ok=True)
    rows = []
    cases = []
    for count in (int(n) for n in args.sizes.split(",")):
        rng = random.Random(args.seed * 1000003 + count)
        directions = random_directions(count, rng)
        # Sized so that the polyhedron's farthest corner lies at FIT of the rough.
        _, probe = write_files(folder, count, directions, 1.0)
        corners, _ = qhalf_corners(args.qhalf, probe)
        reach = max(max(abs(c) for c in corner) for corner in corners)
        design, qhalf_input = write_files(folder, count, directions, FIT * ROUGH_HALF / reach)
        cases.append((f"{count} random", design, qhalf_input, count))
    for design in args.design:
        qhalf_input, count = write_design_halfspaces(args.cli, folder, design)
        cases.append((os.path.basename(design), design, qhalf_input, count))
    for label, design, qhalf_input, count in cases:
        corners, non_redundant = qhalf_corners(args.qhalf, qhalf_input)
        if non_redundant != count:
            sys.exit(f"{label}: qhalf keeps only {non_redundant} of its {count} planes")
        check = run([args.cli, "check", design])
        passed = re.search(r"Passed: (\d+) Facets \+ (\d+) vertices", check.stdout)
        if check.returncode != 0 or not passed:
            sys.exit(f"brevix-cli check {design} failed:\n{check.stdout}{check.stderr}")
        facets, vertices = int(passed.group(1)), int(passed.group(2))
        if facets != count:
            sys.exit(f"brevix-cli check {design} reads {facets} facets, not {count}")
        times = {"brevix": [], "qhalf": []}
        for _ in range(args.repeats):
            times["brevix"].append(cpu_seconds([args.cli, "check", design]))
            times["qhalf"].append(cpu_seconds([args.qhalf], qhalf_input))
        brevix, qhalf = statistics.median(times["brevix"]), statistics.median(times["qhalf"])
        rows.append((label, count, vertices, len(corners), brevix, qhalf))

    print(f"median CPU time of {args.repeats} runs each, whole process")
    print(f"{'planes':<24} {'facets':>6} {'corners':>13} {'brevix check':>13} {'qhalf':>9} {'ratio':>7}")
    for label, count, vertices, corners, brevix, qhalf in rows:
        ratio = f"{brevix / qhalf:.1f}x" if qhalf > 0 else "-"
        print(f"{label:<24} {count:>6} {vertices:>6}/{corners:<6} {brevix * 1000:>10.1f} ms {qhalf * 1000:>6.1f} ms"
              f" {ratio:>7}")
    print("(corners: brevix-cli's vertices / qhalf's intersection points, several of which may be one"
          " corner where more than three planes meet)")
    if not args.keep:
        shutil.rmtree(folder)


if __name__ == "__main__":
    main()
