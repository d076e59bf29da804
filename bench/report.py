#!/usr/bin/env python3
"""Runs the benchmark binary and prints each measurement as a ratio to the
baseline measured in the same run, with the goal it is held to."""
import json
import os
import re
import platform
import subprocess
import sys

# (case, baseline, goal): names as Google Benchmark prints them; a case given
# with "/N" is matched per argument, and its goal may be given per argument.
PAIRS = [
    ("BM_LogSwitchedOff", "BM_Baseline_EmptyCall", 3.0),
    ("BM_DispatchToRegisteredCallback", "BM_Baseline_DirectCallback", 5.0),
    ("BM_GetAcceleratorTilesSignedIn/{n}", "BM_Baseline_JsonOfTiles/{n}", 1.5),
    ("BM_GetAcceleratorTilesSignedIn/{n}", "BM_Baseline_CopyTextAndCall/{n}", {"10": 5.0, "100": 1.5, "1000": 1.5}),
    ("BM_ParseRoutineList/{n}", "BM_Baseline_JsonReaderParse/{n}", 2.0),
    # The answer carries its list as a JSON text inside a string member, so
    # any reader parses twice; this is the floor the parser really has.
    ("BM_ParseRoutineList/{n}", "BM_Baseline_JsonReaderParseNested/{n}", 1.3),
    ("BM_ContentsRequestEndToEnd", "BM_Baseline_CurlGet", 1.3),
    ("BM_NginxRequestEndToEnd", "BM_Baseline_NginxWarmGet", 1.5),
    ("BM_NginxRequestUnchanged", "BM_Baseline_NginxWarmGet304", 1.5),
    # The same GETs on a second thread, answered through a condition
    # variable: the floor of any answer delivered off the caller's thread.
    ("BM_NginxRequestEndToEnd", "BM_Baseline_NginxWarmGetHandedOver", 1.5),
    ("BM_NginxRequestUnchanged", "BM_Baseline_NginxWarmGet304HandedOver", 1.5),
]
ARGS = ["10", "100", "1000"]
NANOSECONDS = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}
REPETITIONS = 3


def run(binary):
    # The median of a few repetitions: one run of a case is easily thrown
    # off by whatever else the machine does meanwhile.
    out = subprocess.run([binary, "--benchmark_format=json", "--benchmark_min_time=0.2",
                          f"--benchmark_repetitions={REPETITIONS}", "--benchmark_report_aggregates_only=true"],
                         check=True, capture_output=True, text=True).stdout
    # "/iterations:N" and "/real_time" only say how a case was run. A case
    # timed on its own thread is compared by CPU time, which other load on
    # the machine disturbs less; one that waits on other threads by wall time.
    results = {}
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"])
        b["time"] = b["real_time"] if "/real_time" in name else b["cpu_time"]
        results[re.sub(r"/(iterations:\d+|real_time)", "", name)] = b
    return results


def rows(results):
    for case, baseline, goal in PAIRS:
        names = [(case.format(n=n), baseline.format(n=n), n) for n in ARGS] if "{n}" in case else [(case, baseline, "")]
        for c, b, n in names:
            if c in results and b in results:
                rc, rb = results[c], results[b]
                ratio = (rc["time"] * NANOSECONDS[rc["time_unit"]]) / (rb["time"] * NANOSECONDS[rb["time_unit"]])
                yield c, b, rc["time"], rc["time_unit"], rb["time"], rb["time_unit"], ratio, \
                    goal[n] if isinstance(goal, dict) else goal


def main():
    binary = sys.argv[1]
    results = run(binary)
    print(f"machine: {platform.machine()}, {os.cpu_count()} cores, {platform.platform()}; "
          f"median of {REPETITIONS} runs")
    print(f"| {'benchmark':36} | {'baseline':40} | {'time':>12} | {'baseline':>12} | {'ratio':>6} | goal |")
    print(f"|{'-' * 38}|{'-' * 42}|{'-' * 14}|{'-' * 14}|{'-' * 8}|------|")
    for name, base, t, unit, tb, base_unit, ratio, goal in rows(results):
        mark = "ok" if ratio <= goal else "OVER"
        print(f"| {name:36} | {base:40} | {t:9.1f} {unit:2} | {tb:9.1f} {base_unit:2} | {ratio:6.2f} | "
              f"<={goal:g} {mark} |")
    for name, b in results.items():
        counters = ("rss_kib", "library_bytes", "threads_after", "rss_delta_kib", "rss_growth_next_1000_kib",
                    "threads_delta", "text_bytes", "rodata_bytes", "data_bytes", "bss_bytes", "rss_before_kib",
                    "rss_load_delta_kib", "rss_start_delta_kib", "rss_total_delta_kib", "library_rss_kib")
        if "icon" in name.lower() or any(k in b for k in counters):
            extras = {k: v for k, v in b.items() if k in counters}
            print(f"{name}: {b['time']:.1f} {b['time_unit']} {extras if extras else ''}")


if __name__ == "__main__":
    main()
