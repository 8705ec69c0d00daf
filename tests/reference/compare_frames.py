#!/usr/bin/python3
# Renders the reference frames again with the capture tool and compares them with the reviewed
# pictures in this folder, within a tolerance.
#
#     compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR           check (the test)
#     compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR --update  new references
#     compare_frames.py --capture new.exe --against-capture old.exe [--runner ...] --out DIR
#
# A frame is a pure function of the saver time and the window size: rendered twice here, with any
# llvmpipe thread count or vector width, it is identical to the last bit. The tolerance is for other
# machines and Mesa builds, whose rounding may differ by a step here and there and may even re-roll
# the grain (a per-pixel hash of the position and the fractional saver time, 1.5 steps peak to peak:
# a re-rolled grain measures mean 0.47, p99 2, worst block 1, bias 0). Four limits per colour
# channel, in 8-bit steps, each a little above that:
#   - mean absolute difference <= MEAN_LIMIT;
#   - 99th percentile <= P99_LIMIT: a change spread over many pixels (the model moved or re-shaped);
#   - mean signed difference (bias) within +-BIAS_LIMIT: a brightness, fade or background change
#     that the grain would otherwise hide;
#   - mean over the worst TILE x TILE block <= TILE_LIMIT: a local change too small for the
#     whole-image measures (a card moved by a pixel).
# On a failure the new frame and an amplified difference (<name>-diff.png) stay in DIR for review;
# after a deliberate, reviewed change run with --update.
#
# With --against-capture two builds render the same frames, full screen and in the preview, for a
# change that must keep the picture (a faster frame): on the same machine a frame may differ from
# the other build's by a rounding step, and by more in at most SAME_SHARE_LIMIT of its pixels.
import argparse
from functools import reduce
from itertools import accumulate
from math import isqrt
import subprocess
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageStat

REFERENCE_DIR = Path(__file__).resolve().parent

# name, window size, saver time, preview. The times cover the fades (1.1 s: cards at half opacity,
# scene still fading in), the scan with the gantry (5 s), the slice sweep (13 s) and the dissolve
# (20 s); the preview has no cards and the 1-pixel point clamp of a tiny target.
CASES = [("full-1.1s", "480x270", 1.1, False), ("full-5s", "480x270", 5.0, False),
         ("full-13s", "480x270", 13.0, False), ("full-20s", "480x270", 20.0, False),
         ("preview-5s", "152x112", 5.0, True)]

MEAN_LIMIT, P99_LIMIT, BIAS_LIMIT, TILE, TILE_LIMIT = 0.75, 3, 0.25, 16, 2

# Two builds: the whole scene cycle (fades, scan, slice sweep, dissolve, the wrap) full screen and
# in the preview. A pixel differs when any channel is off by more than SAME_STEP_LIMIT steps.
SAME_CASES = [(f"{mode}-{saver_time:g}s", size, saver_time, preview)
              for mode, size, preview in (("full", "1920x1080", False), ("preview", "152x112", True))
              for saver_time in (1.1, 5.0, 9.5, 13.0, 17.7, 20.0, 21.9)]
SAME_STEP_LIMIT, SAME_SHARE_LIMIT = 2, 0.001


def difference_metrics(expected, actual):
    # Of two RGB pictures, per channel: (mean, 99th percentile, bias) of the differences, and the
    # worst block's mean; None when the sizes differ.
    if expected.size != actual.size:
        return None
    count = expected.size[0] * expected.size[1]
    difference = ImageChops.difference(expected, actual)
    # actual - expected + 128, clipped at 0 and 255: clipping only makes a huge change look smaller.
    signed = ImageChops.subtract(actual, expected, scale=1.0, offset=128).histogram()
    channels = []
    for band in range(3):
        counts, offsets = difference.histogram()[band * 256:][:256], signed[band * 256:][:256]
        channels.append((sum(value * n for value, n in enumerate(counts)) / count,
                         next(value for value, seen in enumerate(accumulate(counts)) if seen >= 0.99 * count),
                         sum(value * n for value, n in enumerate(offsets)) / count - 128))
    # Image.reduce averages each block (rounded to a whole step); edge blocks may be partial.
    return channels, max(max(band.getdata()) for band in difference.reduce(TILE).split())


def within_limits(metrics):
    return metrics is not None and metrics[1] <= TILE_LIMIT and all(
        mean <= MEAN_LIMIT and p99 <= P99_LIMIT and abs(bias) <= BIAS_LIMIT for mean, p99, bias in metrics[0])


def same_picture_metrics(expected, actual):
    # The share of pixels that differ, the largest and the mean channel difference; None when the
    # sizes differ.
    if expected.size != actual.size:
        return None
    difference = ImageChops.difference(expected, actual)
    counts = reduce(ImageChops.lighter, difference.split()).histogram()
    return (sum(counts[SAME_STEP_LIMIT + 1:]) / (expected.size[0] * expected.size[1]),
            max(value for value, n in enumerate(counts) if n), sum(ImageStat.Stat(difference).mean) / 3)


def compare(name, expected_path, actual_path, difference, measure, passes, probes, describe):
    # Measures the actual picture against the expected one and judges the measures with `passes`,
    # after making sure that it fails each probe: the expected picture with a brighter patch added
    # (cropped to the picture, which pads a small patch with black). On a failure the difference,
    # amplified eight times so that a one-step change shows, stays for review.
    with Image.open(expected_path) as expected, Image.open(actual_path) as actual:
        expected, actual = expected.convert("RGB"), actual.convert("RGB")
        for probe in probes(*expected.size):
            if passes(measure(expected, ImageChops.add(expected, probe.crop((0, 0, *expected.size))))):
                print(f"FAIL {name}: the limits let a brighter picture through")
                return False
        metrics = measure(expected, actual)
        same = metrics is not None and passes(metrics)
        print(f"{'ok  ' if same else 'FAIL'} {name}: " + ("size differs" if metrics is None else describe(metrics)))
        if metrics is not None and not same:
            ImageChops.difference(expected, actual).point(lambda value: min(255, value * 8)).save(difference)
        return same


def check(name, rendered, difference):
    # The limits must catch the reference one step brighter, or three steps brighter in one block only.
    return compare(name, REFERENCE_DIR / f"{name}.png", rendered, difference, difference_metrics, within_limits,
                   lambda w, h: (Image.new("RGB", (w, h), (1, 1, 1)), Image.new("RGB", (TILE, TILE), (3, 3, 3))),
                   lambda metrics: "  ".join(f"{band} mean {mean:.2f} p99 {p99} bias {bias:+.2f}" for band, (
                       mean, p99, bias) in zip("RGB", metrics[0])) + f"  worst block {metrics[1]}")


def same_picture(name, expected_path, actual_path, difference):
    # The limit must catch one block three steps brighter, a little larger than the share allowed.
    block = lambda w, h: (Image.new("RGB", (isqrt(int(SAME_SHARE_LIMIT * w * h)) + 2,) * 2, (3, 3, 3)),)
    return compare(name, expected_path, actual_path, difference, same_picture_metrics,
                   lambda metrics: metrics[0] <= SAME_SHARE_LIMIT, block,
                   lambda metrics: f"{metrics[0]:.4%} of pixels differ by more than {SAME_STEP_LIMIT}, "
                                   f"max {metrics[1]}, mean {metrics[2]:.4f}")


def capture(program, runner, name, rendered, size, saver_time, preview):
    rendered.unlink(missing_ok=True)
    # Under Wine the capture program sees the Unix root as drive Z:.
    path = "Z:" + str(rendered).replace("/", "\\") if runner else str(rendered)
    command = [runner] if runner else []
    command += [program, "--time", str(saver_time), "--size", size, "--out", path] + ["--preview"] * preview
    result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    if result.returncode != 0 or not rendered.exists():
        print(f"FAIL {name}: capture failed ({result.returncode}): {command}\n{result.stdout}{result.stderr}")
        return False
    return True


def render_and_compare(args, out, name, size, saver_time, preview):
    # One case: rendered and checked against its reference, or stored as the new one (--update), or
    # rendered by both builds and compared (--against-capture).
    ours, theirs, difference = out / f"{name}.png", out / f"{name}-against.png", out / f"{name}-diff.png"
    difference.unlink(missing_ok=True)
    shoot = lambda program, rendered: capture(program, args.runner, name, rendered, size, saver_time, preview)
    if not shoot(args.capture, ours):
        return False
    if args.against_capture:
        return shoot(args.against_capture, theirs) and same_picture(name, theirs, ours, difference)
    if args.update:
        # Re-saved with full compression: the same pixels in fewer bytes.
        Image.open(ours).convert("RGB").save(REFERENCE_DIR / f"{name}.png", optimize=True)
        print(f"updated {name}.png")
        return True
    return check(name, ours, difference)


def main():
    parser = argparse.ArgumentParser(description="Renders the reference frames again and compares them.")
    parser.add_argument("--capture", required=True, help="the capture program")
    parser.add_argument("--runner", help="runs a Windows program (scripts/wine-run.sh); none on Windows")
    parser.add_argument("--out", required=True, help="folder for the frames rendered now")
    parser.add_argument("--update", action="store_true", help="replace the reference pictures")
    parser.add_argument("--against-capture", help="another build's capture program: compare the two builds")
    args = parser.parse_args()
    if args.update and args.against_capture:
        parser.error("--update and --against-capture exclude each other")
    out = Path(args.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    cases = SAME_CASES if args.against_capture else CASES
    failures = sum(not render_and_compare(args, out, *case) for case in cases)
    print(f"{len(cases) - failures} of {len(cases)} frames " + (
        f"the same in both builds (at most {SAME_SHARE_LIMIT:.1%} of pixels off by more than {SAME_STEP_LIMIT} "
        "steps)" if args.against_capture else "within the limits at the top of this file") + f"; in {out}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
