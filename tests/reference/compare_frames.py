#!/usr/bin/python3
"""Renders the reference frames again with the capture tool and compares them with the reviewed
pictures in this folder, within a tolerance.

    compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR           check (the test)
    compare_frames.py --capture capture.exe [--runner wine-run.sh] --out DIR --update  new references
    compare_frames.py --diff REFERENCE.png NEW.png                                      only the metrics

A frame is a pure function of the saver time and the window size: rendered twice here, with any
llvmpipe thread count or vector width, it is identical to the last bit. The tolerance is for other
machines and Mesa builds, whose rounding may differ by a step here and there and may even re-roll
the grain (a per-pixel hash of the position and the fractional saver time, 1.5 steps peak to peak:
a re-rolled grain measures mean 0.47, p99 2, worst block 1, bias 0). Four limits per colour
channel, in 8-bit steps, each a little above that:
  - mean absolute difference <= MEAN_LIMIT;
  - 99th percentile <= P99_LIMIT: a change spread over many pixels (the model moved or re-shaped);
  - mean signed difference (bias) within +-BIAS_LIMIT: a brightness, fade or background change
    that the grain would otherwise hide;
  - mean over the worst TILE x TILE block <= TILE_LIMIT: a local change too small for the
    whole-image measures (a card moved by a pixel).
On a failure the new frame and an amplified difference (<name>-diff.png) stay in DIR for review;
after a deliberate, reviewed change run with --update.
"""
import argparse
import subprocess
import sys
from pathlib import Path

from PIL import Image, ImageChops

REFERENCE_DIR = Path(__file__).resolve().parent

# name, window size, saver time, preview. The times cover the fades (1.1 s: cards at half opacity,
# scene still fading in), the scan with the gantry (5 s), the slice sweep (13 s) and the dissolve
# (20 s); the preview has no cards and the 1-pixel point clamp of a tiny target.
CASES = [
    ("full-1.1s", "480x270", 1.1, False),
    ("full-5s", "480x270", 5.0, False),
    ("full-13s", "480x270", 13.0, False),
    ("full-20s", "480x270", 20.0, False),
    ("preview-5s", "152x112", 5.0, True),
]

MEAN_LIMIT = 0.75
P99_LIMIT = 3
BIAS_LIMIT = 0.25
TILE = 16
TILE_LIMIT = 2


def program_path(path, through_wine):
    """The path as the capture program sees it: under Wine, drive Z: is the Unix root."""
    resolved = str(Path(path).resolve())
    return "Z:" + resolved.replace("/", "\\") if through_wine else resolved


def channel_statistics(histogram, pixel_count):
    """Mean, 99th percentile and maximum of one channel's absolute differences (a 256-bin histogram)."""
    mean = sum(value * count for value, count in enumerate(histogram)) / pixel_count
    running = 0
    percentile = 255
    for value, count in enumerate(histogram):
        running += count
        if running >= pixel_count * 0.99:
            percentile = value
            break
    maximum = max((value for value, count in enumerate(histogram) if count), default=0)
    return mean, percentile, maximum


def signed_means(expected, actual, pixel_count):
    """Mean of actual - expected per channel (differences beyond +-128 are clipped, which only
    makes a huge change look smaller than it is, never hides it from the other limits)."""
    histogram = ImageChops.subtract(actual, expected, scale=1.0, offset=128).histogram()
    return [sum(value * count for value, count in enumerate(histogram[band * 256:(band + 1) * 256])) / pixel_count
            - 128 for band in range(3)]


def difference_metrics(expected, actual):
    """{"channels": [(mean, p99, max)], "bias": [signed mean], "tile": worst block mean}, channels
    R, G, B; None when the sizes differ."""
    if expected.size != actual.size:
        return None
    expected, actual = expected.convert("RGB"), actual.convert("RGB")
    difference = ImageChops.difference(expected, actual)
    pixel_count = expected.size[0] * expected.size[1]
    histogram = difference.histogram()
    channels = [channel_statistics(histogram[band * 256:(band + 1) * 256], pixel_count) for band in range(3)]
    # Image.reduce averages each block (rounded to a whole step); edge blocks may be partial.
    tile = max(max(band.getdata()) for band in difference.reduce(TILE).split())
    return {"channels": channels, "bias": signed_means(expected, actual, pixel_count), "tile": tile}


def within_limits(metrics):
    if metrics is None:
        return False
    channels_ok = all(mean <= MEAN_LIMIT and p99 <= P99_LIMIT for mean, p99, _ in metrics["channels"])
    bias_ok = all(abs(bias) <= BIAS_LIMIT for bias in metrics["bias"])
    return channels_ok and bias_ok and metrics["tile"] <= TILE_LIMIT


def describe(metrics):
    if metrics is None:
        return "size differs"
    channels = "  ".join(f"{name} mean {mean:.2f} p99 {p99} max {maximum} bias {bias:+.2f}"
                         for name, (mean, p99, maximum), bias in zip("RGB", metrics["channels"], metrics["bias"]))
    return f"{channels}  worst {TILE}px block {metrics['tile']}"


def write_difference_image(first, second, path):
    """The difference amplified eight times, so that a one-step change is visible."""
    difference = ImageChops.difference(first.convert("RGB"), second.convert("RGB"))
    difference.point(lambda value: min(255, value * 8)).save(path)


def capture(args, size, saver_time, preview, output):
    runner = [args.runner] if args.runner else []
    command = runner + [args.capture, "--time", str(saver_time), "--size", size,
                        "--out", program_path(output, bool(args.runner))]
    if preview:
        command.append("--preview")
    result = subprocess.run(command, capture_output=True, text=True, timeout=300)
    if result.returncode != 0 or not output.exists():
        print(f"capture failed ({result.returncode}): {' '.join(command)}\n{result.stdout}{result.stderr}")
        return False
    return True


def check_case(name, rendered, out_dir):
    reference = REFERENCE_DIR / f"{name}.png"
    if not reference.exists():
        print(f"FAIL {name}: no reference picture {reference}")
        return False
    with Image.open(reference) as expected, Image.open(rendered) as actual:
        metrics = difference_metrics(expected, actual)
        matches = within_limits(metrics)
        print(f"{'ok  ' if matches else 'FAIL'} {name}: {describe(metrics)}")
        if not matches and metrics is not None:
            write_difference_image(expected, actual, out_dir / f"{name}-diff.png")
    return matches


def run_cases(args):
    out_dir = Path(args.out)
    out_dir.mkdir(parents=True, exist_ok=True)
    failures = 0
    for name, size, saver_time, preview in CASES:
        rendered = out_dir / f"{name}.png"
        rendered.unlink(missing_ok=True)
        (out_dir / f"{name}-diff.png").unlink(missing_ok=True)
        if not capture(args, size, saver_time, preview, rendered):
            failures += 1
        elif args.update:
            # Re-saved with full compression: the same pixels in fewer bytes.
            Image.open(rendered).convert("RGB").save(REFERENCE_DIR / f"{name}.png", optimize=True)
            print(f"updated {name}.png")
        elif not check_case(name, rendered, out_dir):
            failures += 1
    limits = (f"per channel mean <= {MEAN_LIMIT}, p99 <= {P99_LIMIT}, |bias| <= {BIAS_LIMIT}; "
              f"worst {TILE}px block <= {TILE_LIMIT}")
    print(f"{len(CASES) - failures} of {len(CASES)} frames within limits ({limits}); frames in {out_dir}")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--capture", help="the capture program")
    parser.add_argument("--runner", help="runs a Windows program (scripts/wine-run.sh); none on Windows")
    parser.add_argument("--out", help="folder for the frames rendered now")
    parser.add_argument("--update", action="store_true", help="replace the reference pictures")
    parser.add_argument("--diff", nargs=2, metavar="PNG", help="only print the metrics of two files")
    args = parser.parse_args()
    if args.diff:
        with Image.open(args.diff[0]) as first, Image.open(args.diff[1]) as second:
            metrics = difference_metrics(first, second)
        print(describe(metrics), "(within limits)" if within_limits(metrics) else "(OUTSIDE limits)")
        return 0
    if not (args.capture and args.out):
        parser.error("--capture and --out are needed")
    return run_cases(args)


if __name__ == "__main__":
    sys.exit(main())
