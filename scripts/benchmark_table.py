#!/usr/bin/python3
# Tables for scripts/benchmark.sh --compare: the runs of two builds, side by side, as medians over
# the rounds and the ratio new / reference. Runs alternate within a round, so each round's own
# ratio is printed too: their spread shows how much of a ratio is the machine's noise.
#
#     benchmark_table.py frame TITLE --ref REPORT... --new REPORT...    per pass and whole frame
#     benchmark_table.py startup TITLE --ref REPORT... --new REPORT...  start-up stages
#     benchmark_table.py passes TITLE --ref TRACE... --new TRACE...     the saver's main loop
#
# REPORT is the benchmark tool's output, whose lines "figure<TAB>TABLE<TAB>NAME<TAB>VALUE" are read
# (TABLE frame or startup; the human-readable report around them is not), with the process's CPU
# time that benchmark.sh adds as more figures of the frame table. TRACE is Wine's log of the real
# saver run with WINEDEBUG=+timestamp,+wgl, followed by the saver's CPU seconds and swaps so far at
# two moments ("cpu sample: 12.5 140"). A run without them ends with exit code 1.
# Wall times on a shared machine follow its load; CPU time much less so.
import argparse
import re
import statistics
import sys

CPU_SAMPLE = re.compile(r"^cpu sample: (\S+) (\d+)$", re.MULTILINE)
# Swaps in the first seconds of a window's life hold the driver's code generation.
WARM_UP_SECONDS = 3.0
SWAP = re.compile(r"^(\d+\.\d+):.*glxdrv_wglSwapBuffers \((0x[0-9a-f]+)\)")


def fail(message):
    sys.exit(f"benchmark_table: {message}")


def figures(path, table, last):
    # {name: value} of the run's figures of one table in their order, None for a pass the run did
    # not draw ("-"); the table must hold the figure named last.
    rows = {}
    for line in open(path, errors="replace"):
        fields = line.rstrip("\n").split("\t")
        if len(fields) == 4 and fields[:2] == ["figure", table]:
            try:
                rows[fields[2]] = None if fields[3] == "-" else float(fields[3])
            except ValueError:
                fail(f"{path}: {fields[2]}: '{fields[3]}' is not a number")
    if last not in rows:
        fail(f"{path}: no '{last}' figure in the {table} table (a benchmark tool from before the figures?)")
    return rows


def frame_rows(path):
    # {name: wall median in ms} of every pass and the whole frame, and the process's CPU time.
    return figures(path, "frame", "whole frame (wall, glFinish)")


def startup_rows(path):
    # {stage: ms} in the report's order, ending with the total.
    return figures(path, "startup", "total")


def pass_rows(path):
    # The median time from one SwapBuffers of a window to its next (one main-loop pass draws every
    # window once), over all windows after their warm-up, the number of such passes, and the
    # saver's CPU time per pass between the two samples.
    swaps = {}
    for line in open(path, errors="replace"):
        match = SWAP.match(line)
        if match:
            swaps.setdefault(match.group(2), []).append(float(match.group(1)))
    intervals = []
    for times in swaps.values():
        intervals += [(later - earlier) * 1000 for earlier, later in zip(times, times[1:])
                      if earlier >= times[0] + WARM_UP_SECONDS]
    if len(swaps) < 2 or len(intervals) < 10:
        fail(f"{path}: {len(swaps)} windows swapped, {len(intervals)} passes after the warm-up: "
             "expected two GL windows drawing (is WINEDEBUG=+timestamp,+wgl set?)")
    samples = [(float(seconds), int(count)) for seconds, count in CPU_SAMPLE.findall(open(path).read())]
    if len(samples) != 2 or samples[1][1] <= samples[0][1]:
        fail(f"{path}: expected two 'cpu sample' lines with swaps between them, found {samples}")
    passes = (samples[1][1] - samples[0][1]) / len(swaps)
    return {f"main-loop pass, ms ({len(swaps)} windows)": statistics.median(intervals),
            "passes timed": float(len(intervals)),
            "saver CPU per pass, ms": (samples[1][0] - samples[0][0]) * 1000 / passes}


def table(title, reference, new):
    # reference, new: one {label: value} per round. The rounds of a build must have the same rows;
    # a row that only one build has (a pass renamed or added) is shown, and named below the table.
    for name, runs in (("reference", reference), ("new", new)):
        for round_number, rows in enumerate(runs, 1):
            if list(rows) != list(runs[0]):
                fail(f"{name} build: round {round_number} has the rows {list(rows)}, round 1 {list(runs[0])}")
    labels = list(reference[0])
    for previous, label in zip([None] + list(new[0]), new[0]):
        if label not in labels:
            labels.insert(labels.index(previous) + 1 if previous in labels else len(labels), label)
    print(f"{title:<56} {'reference':>10} {'new':>10} {'new/ref':>8}   per round")
    for label in labels:
        ref_values = [rows.get(label) for rows in reference]
        new_values = [rows.get(label) for rows in new]
        ref_median, new_median = median(ref_values), median(new_values)
        ratio = f"{new_median / ref_median:8.3f}" if ref_median and new_median is not None else f"{'-':>8}"
        rounds = " ".join(f"{n / r:.2f}" for r, n in zip(ref_values, new_values) if r and n is not None)
        print(f"  {label:<54} {shown(ref_median):>10} {shown(new_median):>10} {ratio}   {rounds}")
    for name, runs, other in (("reference", reference, new), ("new", new, reference)):
        alone = [label for label in runs[0] if label not in other[0]]
        if alone:
            print(f"  (only the {name} build has {alone})")
    print()


def median(values):
    present = [value for value in values if value is not None]
    return statistics.median(present) if present else None


def shown(value):
    return "-" if value is None else f"{value:.2f}"


def main():
    parser = argparse.ArgumentParser(description="Side-by-side table of two builds' benchmark runs.")
    parser.add_argument("kind", choices=["frame", "startup", "passes"])
    parser.add_argument("title")
    parser.add_argument("--ref", nargs="+", required=True, help="the reference build's runs, one per round")
    parser.add_argument("--new", nargs="+", required=True, help="the new build's runs, one per round")
    args = parser.parse_args()
    rows = {"frame": frame_rows, "startup": startup_rows, "passes": pass_rows}[args.kind]
    table(args.title, [rows(path) for path in args.ref], [rows(path) for path in args.new])
    return 0


if __name__ == "__main__":
    sys.exit(main())
