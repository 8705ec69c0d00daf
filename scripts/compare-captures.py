#!/usr/bin/python3
# Frames of the capture tool compared in pairs, as shares of pixels that differ:
#
#     compare-captures.py --capture new.exe --against-capture old.exe [--runner wine-run.sh] --out DIR
#         two builds, the same frames: for a change that must keep the picture (a faster frame). On the
#         same machine a frame may differ from the other build's by a rounding step, and by more in at
#         most SHARE_LIMIT of its pixels; exit code 1 when one does.
#     compare-captures.py --capture capture.exe --times A B [--size WxH] [--step N] [--runner ...] --out DIR
#         one build, two saver times: how much of the picture changes between them (across the
#         programs' clock wrap, say, against an ordinary pair of frames). Prints the share of pixels
#         off by more than N steps in any channel.
import argparse
from functools import reduce
from math import isqrt
from pathlib import Path
import sys

from PIL import Image, ImageChops, ImageStat

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "reference"))
from compare_frames import capture, compare  # noqa: E402  (the reference check's own routines)

# The whole scene cycle (fades, scan, slice sweep, dissolve, the wrap) full screen and in the preview.
# A pixel differs when any channel is off by more than STEP_LIMIT steps.
CASES = [(f"{mode}-{saver_time:g}s", size, saver_time, preview)
         for mode, size, preview in (("full", "1920x1080", False), ("preview", "152x112", True))
         for saver_time in (1.1, 5.0, 9.5, 13.0, 17.7, 20.0, 21.9)]
STEP_LIMIT, SHARE_LIMIT = 2, 0.001


def changed_metrics(expected, actual, step=STEP_LIMIT):
    # The share of pixels with a channel off by more than `step`, the largest and the mean channel
    # difference; None when the sizes differ.
    if expected.size != actual.size:
        return None
    difference = ImageChops.difference(expected, actual)
    counts = reduce(ImageChops.lighter, difference.split()).histogram()
    return (sum(counts[step + 1:]) / (expected.size[0] * expected.size[1]),
            max(value for value, n in enumerate(counts) if n), sum(ImageStat.Stat(difference).mean) / 3)


def describe(metrics, step=STEP_LIMIT):
    return f"{metrics[0]:.4%} of pixels differ by more than {step}, max {metrics[1]}, mean {metrics[2]:.4f}"


def same_picture(args, out, name, size, saver_time, preview):
    ours, theirs = out / f"{name}.png", out / f"{name}-against.png"
    if not (capture(args.capture, args.runner, name, ours, size, saver_time, preview) and
            capture(args.against_capture, args.runner, name, theirs, size, saver_time, preview)):
        return False
    # The limit must catch one block three steps brighter, a little larger than the share allowed.
    block = lambda w, h: (Image.new("RGB", (isqrt(int(SHARE_LIMIT * w * h)) + 2,) * 2, (3, 3, 3)),)
    return compare(name, theirs, ours, out / f"{name}-diff.png", changed_metrics,
                   lambda metrics: metrics[0] <= SHARE_LIMIT, block, describe)


def main():
    parser = argparse.ArgumentParser(description="Compares frames of the capture tool in pairs.")
    parser.add_argument("--capture", required=True, help="the capture program")
    parser.add_argument("--runner", help="runs a Windows program (scripts/wine-run.sh); none on Windows")
    parser.add_argument("--out", required=True, help="folder for the frames")
    modes = parser.add_mutually_exclusive_group(required=True)
    modes.add_argument("--against-capture", help="another build's capture program: compare the two builds")
    modes.add_argument("--times", nargs=2, type=float, metavar=("A", "B"), help="two saver times of one build")
    parser.add_argument("--size", default="960x540", help="with --times: the frame's size")
    parser.add_argument("--step", type=int, default=16, help="with --times: the steps a pixel may be off")
    args = parser.parse_args()
    out = Path(args.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    if args.times:
        shots = [out / f"at-{saver_time!r}s.png" for saver_time in args.times]
        if not all(capture(args.capture, args.runner, shot.stem, shot, args.size, saver_time, False)
                   for shot, saver_time in zip(shots, args.times)):
            return 1
        with Image.open(shots[0]) as first, Image.open(shots[1]) as second:
            metrics = changed_metrics(first.convert("RGB"), second.convert("RGB"), args.step)
        print(f"{args.times[0]!r} s to {args.times[1]!r} s: " +
              ("size differs" if metrics is None else describe(metrics, args.step)))
        return 0 if metrics is not None else 1
    failures = sum(not same_picture(args, out, *case) for case in CASES)
    print(f"{len(CASES) - failures} of {len(CASES)} frames the same in both builds (at most "
          f"{SHARE_LIMIT:.1%} of pixels off by more than {STEP_LIMIT} steps); in {out}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
