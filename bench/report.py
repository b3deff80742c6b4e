#!/usr/bin/env python3
"""The table of scripts/bench: min/median/max of every figure over the runs,
the targets beside them, and the one-line summary.

    report.py RECORDS OUT_DIR LABEL...

RECORDS holds one figure a line: measure, build, run, key, value (tab-separated).
"""

import statistics
import sys
import time
from collections import defaultdict
from pathlib import Path

# A report never waits for the windows: changed or not, it returns at once.
UNCHANGED_REPORT_US_TARGET = 20
REPORT_US_TARGET = 20
REPORT_LONGEST_MS_TARGET = 1
REPORTS_TOTAL_MS_TARGET = 20
REPORTS_PER_TRANSFER = 4097  # 16 MiB at 4 KiB, and the final 100 %
UI_WORST_MS_TARGET = 50
PRINTER_COUNTS = (1, 10, 40)
DATA_SIZES = (1, 16, 64)
PHASES = (("checks", "before the transfer"), ("transfer", "transfer"), ("wait", "operating wait"))
WINDOWS = ("main", "progress", "operating")


def load(path):
    """{(measure, build): {key: {run: value}}}"""
    figures = defaultdict(lambda: defaultdict(dict))
    for line in Path(path).read_text().splitlines():
        measure, build, run, key, value = line.split("\t")
        try:
            figures[(measure, build)][key][int(run)] = float(value)
        except ValueError:
            pass
    return figures


def spread(values):
    values = [v for v in values if v is not None]
    if not values:
        return None
    return min(values), statistics.median(values), max(values)


def cell(values, digits=1):
    s = spread(values)
    if s is None:
        return "-"
    return " / ".join(f"{v:.{digits}f}" for v in s)


def per_run(figures, measure, build, function):
    """function(run's figures by key) for every run that has them."""
    runs = defaultdict(dict)
    for key, by_run in figures.get((measure, build), {}).items():
        for run, value in by_run.items():
            runs[run][key] = value
    out = []
    for run, values in sorted(runs.items()):
        if run == 0:
            continue
        try:
            out.append(function(values))
        except (KeyError, ZeroDivisionError):
            pass
    return out


def main():
    records, out_dir, labels = sys.argv[1], Path(sys.argv[2]), sys.argv[3:]
    figures = load(records)
    arches = [a for a in ("win64", "win32") if any(b.startswith(a) for (_, b) in figures)]
    present = {b for (_, b) in figures}
    builds = [f"{a}-{l}" for a in arches for l in labels if f"{a}-{l}" in present]
    rows = []

    def row(what, build, values, target="", digits=1):
        rows.append((what, build, cell(values, digits), target))

    summary = {}
    for build in builds:
        report_us = per_run(figures, "transfer", build, lambda f: f["callback_us"] / f["reports"])
        row("(a) callback per report, us (16 MiB, 4 KiB steps)", build, report_us, f"<= {REPORT_US_TARGET}")
        row("(a) callback median report (unchanged window), us", build,
            per_run(figures, "transfer", build, lambda f: f["callback_median_us"]), f"<= {UNCHANGED_REPORT_US_TARGET}")
        report_max_ms = per_run(figures, "transfer", build, lambda f: f["callback_max_us"] / 1000)
        row("(a) callback longest report, ms", build, report_max_ms, f"<= {REPORT_LONGEST_MS_TARGET}", 3)
        row("(a) all reports, ms", build, per_run(figures, "transfer", build, lambda f: f["callback_us"] / 1000),
            f"<= {REPORTS_TOTAL_MS_TARGET}")
        row("(a) TRSendFile without the callbacks, ms", build,
            per_run(figures, "transfer", build, lambda f: (f["send_us"] - f["callback_us"]) / 1000))
        row("(a) reports per transfer", build, per_run(figures, "transfer", build, lambda f: f["reports"]),
            str(REPORTS_PER_TRANSFER), 0)
        for phase, name in PHASES:
            for window in WINDOWS:
                key = f"ping_{window}_{phase}"
                worst = per_run(figures, "transfer", build, lambda f, k=key: f[k + "_worst_ms"])
                if worst:
                    median = per_run(figures, "transfer", build, lambda f, k=key: f[k + "_median_ms"])
                    row(f"(b) {window} dialog, {name}: median answer, ms", build, median)
                    row(f"(b) {window} dialog, {name}: worst answer, ms", build, worst, f"<= {UI_WORST_MS_TARGET}")
        ui_worst = per_run(figures, "transfer", build, lambda f: f["ui_worst_ms"])
        row("(b) worst answer of any window, transfer and operating wait, ms", build, ui_worst,
            f"<= {UI_WORST_MS_TARGET}")
        trivial = build.split("-")[0] + "-trivial"
        for count in PRINTER_COUNTS:
            row(f"(c) start-up to the idle main dialog, {count} printer(s), ms", build,
                per_run(figures, f"startup{count}", build, lambda f: f["startup_ms"]))
            own = figures.get((f"startup{count}", build), {}).get("startup_ms", {})
            base = figures.get((f"startup{count}", trivial), {}).get("startup_ms", {})
            ratios = [own[r] / base[r] for r in own if r in base and r != 0 and base[r] > 0]
            row(f"(c) start-up / trivial program, {count} printer(s)", build, ratios, "", 2)
            if count == 10:
                summary.setdefault(build, {})["startup_ratio"] = spread(ratios)
        for size in DATA_SIZES:
            row(f"(d) peak working set, {size} MiB data file, MiB", build,
                per_run(figures, f"memory{size}", build, lambda f: f["peak_working_set_kib"] / 1024))
            row(f"(d) peak working set above the data file, {size} MiB data file, MiB", build,
                per_run(figures, f"memory{size}", build, lambda f, s=size: f["peak_working_set_kib"] / 1024 - s))
        # The read's time-out that a silent printer costs, on the user-interface thread.
        silent = per_run(figures, "silent", build, lambda f: f["ping_main_checks_worst_ms"])
        row("(e) printer silent to the version request: Update to the confirmation, ms", build,
            per_run(figures, "silent", build, lambda f: f["update_to_confirmation_ms"]))
        row("(e) printer silent to the version request: main dialog's worst answer, ms", build, silent)
        summary.setdefault(build, {})["silent_ms"] = spread(silent)
        summary.setdefault(build, {})["report_us"] = spread(report_us)
        summary[build]["report_max_ms"] = spread(report_max_ms)
        summary[build]["ui_worst_ms"] = spread(ui_worst)
    for arch in arches:
        if f"{arch}-trivial" in present:
            row("(c) trivial dialog program, 10 printers, ms", f"{arch}-trivial",
                per_run(figures, "startup10", f"{arch}-trivial", lambda f: f["startup_ms"]))
    for (measure, build), keys in sorted(figures.items()):
        if measure == "native":
            for key, by_run in sorted(keys.items()):
                row(f"native {key}, us", "host", [v / 1000 for v in by_run.values()], "", 2)

    stamp = time.strftime("%Y-%m-%d %H:%M")
    lines = [f"Measured {stamp}; each cell min / median / max over the runs.", "",
             "| figure | build | min / median / max | target |", "|---|---|---|---|"]
    lines += [f"| {what} | {build} | {values} | {target} |" for what, build, values, target in rows]
    text = "\n".join(lines) + "\n"
    out_dir.mkdir(parents=True, exist_ok=True)
    (out_dir / f"bench-{time.strftime('%Y%m%d-%H%M%S')}.md").write_text(text)
    (out_dir / "last.md").write_text(text)
    print(text)

    # The summary takes the least disturbed run of figures that a loaded
    # machine only makes worse, and the median of the start-up ratio, which
    # the load moves either way.
    def pick(build, key, which, digits):
        s = summary.get(build, {}).get(key)
        return "n/a" if s is None else f"{s[which]:.{digits}f}"

    def line(build):
        return (f"report_us={pick(build, 'report_us', 0, 1)} report_max_ms={pick(build, 'report_max_ms', 0, 3)} "
                f"ui_worst_ms={pick(build, 'ui_worst_ms', 0, 1)} startup_ratio={pick(build, 'startup_ratio', 1, 2)} "
                f"silent_ms={pick(build, 'silent_ms', 0, 1)}")

    for build in builds[1:]:
        print(f"bench[{build}]: {line(build)}")
    print(f"bench: {line(builds[0])}")

if __name__ == "__main__":
    main()
