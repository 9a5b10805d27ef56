#!/usr/bin/env python3
"""Prints the benchmark results as a table of ns per stereo frame and realtime factor.

    build/native/bin/zem_bench --benchmark_format=json --benchmark_out=bench.json
    bench/frame_table.py bench.json
"""
import json
import sys


def main(path):
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
    print(f"{'case':34} {'rate':>7} {'block':>6} {'ns/frame':>9} {'realtime':>9}")
    for label, rate, block, ns, realtime in rows:
        print(f"{label:34} {rate:>7} {block:>6} {ns:>9.1f} {realtime:>8.0f}x")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
