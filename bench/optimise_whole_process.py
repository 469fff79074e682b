#!/usr/bin/env python3
"""Whole-process time of `brevix-cli optimize` on the big designs.

Runs `brevix-cli optimize DESIGN OUT` with the default search (8 starts of
300 candidates, seed 7) but a time limit far beyond the run, so that time
never cuts it and every run does the same work, and prints the median wall
and CPU time of several runs, with the design's tiers and facets.

    bench/optimise_whole_process.py [--cli build/brevix-cli] [--runs 5] [DESIGN ...]

Without designs: bench/stepped_round.brx (21 tiers, 321 facets) and
tests/optimise/deep_brilliant.brx.
"""
import argparse
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def children_cpu():
    r = resource.getrusage(resource.RUSAGE_CHILDREN)
    return r.ru_utime + r.ru_stime


def size_of(path):
    tiers = facets = 0
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            if line.startswith("tier "):
                tiers += 1
                facets += len(line.split("|")[1].split())
    return tiers, facets


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", default=os.path.join(ROOT, "build", "brevix-cli"))
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("designs", nargs="*")
    args = parser.parse_args()
    designs = args.designs or [os.path.join(HERE, "stepped_round.brx"),
                               os.path.join(ROOT, "tests", "optimise", "deep_brilliant.brx")]
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "out.brx")
        for design in designs:
            walls, cpus = [], []
            for _ in range(args.runs):
                cpu0, t0 = children_cpu(), time.perf_counter()
                done = subprocess.run([args.cli, "optimize", design, out, "--seconds", "86400"],
                                      stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                walls.append(time.perf_counter() - t0)
                cpus.append(children_cpu() - cpu0)
                if done.returncode != 0:
                    sys.exit(f"{design}: brevix-cli optimize failed ({done.returncode})")
            tiers, facets = size_of(design)
            print(f"{os.path.basename(design)} ({tiers} tiers, {facets} facets): "
                  f"median wall {statistics.median(walls):.2f} s, CPU {statistics.median(cpus):.2f} s "
                  f"over {args.runs} runs (min wall {min(walls):.2f} s)")


if __name__ == "__main__":
    main()
