#!/usr/bin/python3
# Renders the reference frames again with the capture tool and compares them with the reviewed
# pictures in this folder, within a tolerance.
#
#     compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR           check (the test)
#     compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR --update  new references
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
import argparse
from itertools import accumulate
import subprocess
import sys
from pathlib import Path

from PIL import Image, ImageChops

REFERENCE_DIR = Path(__file__).resolve().parent

# name, window size, saver time, preview. The times cover the fades (1.1 s: cards at half opacity,
# scene still fading in), the scan with the gantry (5 s), the slice sweep (13 s) and the dissolve
# (20 s); the preview has no cards and the 1-pixel point clamp of a tiny target.
CASES = [("full-1.1s", "480x270", 1.1, False), ("full-5s", "480x270", 5.0, False),
         ("full-13s", "480x270", 13.0, False), ("full-20s", "480x270", 20.0, False),
         ("preview-5s", "152x112", 5.0, True)]

MEAN_LIMIT, P99_LIMIT, BIAS_LIMIT, TILE, TILE_LIMIT = 0.75, 3, 0.25, 16, 2


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
    # One case: rendered and checked against its reference, or stored as the new one (--update).
    ours, difference = out / f"{name}.png", out / f"{name}-diff.png"
    difference.unlink(missing_ok=True)
    if not capture(args.capture, args.runner, name, ours, size, saver_time, preview):
        return False
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
    args = parser.parse_args()
    out = Path(args.out).resolve()
    out.mkdir(parents=True, exist_ok=True)
    failures = sum(not render_and_compare(args, out, *case) for case in CASES)
    print(f"{len(CASES) - failures} of {len(CASES)} frames within the limits at the top of this file; in {out}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
