#!/usr/bin/env python3
"""Prints the benchmark results as a table of ns per stereo frame and realtime factor.

    build/native/bin/zem_bench --benchmark_format=json --benchmark_out=bench.json
    bench/frame_table.py bench.json           one row per benchmark
    bench/frame_table.py --pivot bench.json   one row per case, ns/frame by rate and block
"""
import json
import sys


def main(path, pivot=False):
    with open(path) as f:
        results = json.load(f)["benchmarks"]
    rows = []
    for r in results:
        if r.get("run_type") == "aggregate" and r.get("aggregate_name") != "median":
            continue
        if "ns_per_frame" not in r:
            continue
        # Inverted rate counters come out in seconds per frame.
        ns = r["ns_per_frame"] * 1e9
        params = dict(p.split(":") for p in r["run_name"].split("/")[1:] if ":" in p)
        rows.append((r.get("label", ""), int(params.get("rate", 0)), int(params.get("block", 0)), ns, r["realtime"]))
    if pivot:
        columns = sorted({(rate, block) for _, rate, block, _, _ in rows})
        table = {}
        for label, rate, block, ns, _ in rows:
            table.setdefault(label, {})[(rate, block)] = ns
        header = " ".join(f"{f'{rate / 1000:g}k/{block}':>10}" for rate, block in columns)
        print(f"{'case (ns/frame)':34} {header}")
        for label, cells in table.items():
            print(f"{label:34} " + " ".join(f"{cells.get(c, float('nan')):>10.1f}" for c in columns))
        return
    print(f"{'case':34} {'rate':>7} {'block':>6} {'ns/frame':>9} {'realtime':>9}")
    for label, rate, block, ns, realtime in rows:
        print(f"{label:34} {rate:>7} {block:>6} {ns:>9.1f} {realtime:>8.0f}x")


if __name__ == "__main__":
    args = sys.argv[1:]
    pivot = "--pivot" in args
    args = [a for a in args if a != "--pivot"]
    if len(args) != 1:
        sys.exit(__doc__)
    main(args[0], pivot)
