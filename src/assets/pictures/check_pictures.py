#!/usr/bin/python3
"""Checks the six embedded pictures: PNG layout the saver's decoder relies on,
the content properties a broken generator would lose, the help card's QR code,
and that the generator reproduces every file byte for byte.

Usage: python3 check_pictures.py <pictures-dir>
Prints one line per failing check and exits with 1 if any check fails.
"""

import io
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path

from PIL import Image

# name: (width, height, PNG colour type); 2 is RGB, 6 is RGBA.
EXPECTED = {
    "background.png": (1920, 1080, 2),
    "combined-card.png": (1800, 786, 6),
    "help-card.png": (1082, 496, 6),
    "wordmark.png": (234, 36, 6),
    "logo.png": (660, 252, 6),
    "tagline.png": (1440, 272, 6),
}
SUPPORT_URL = "https://www.orvane.example/support"
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
GENERATOR = Path(__file__).resolve().parent / "generate_pictures.py"


def read_chunks(data):
    """(kind, body) pairs of a PNG file, or an error text."""
    if not data.startswith(PNG_SIGNATURE):
        return None, "no PNG signature"
    chunks, at = [], len(PNG_SIGNATURE)
    while at < len(data):
        if at + 12 > len(data):
            return None, "truncated chunk"
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        crc = data[at + 8 + length:at + 12 + length]
        if len(body) != length or len(crc) != 4:
            return None, "truncated chunk"
        if struct.unpack(">I", crc)[0] != zlib.crc32(kind + body):
            return None, f"bad CRC in {kind.decode('latin-1')}"
        chunks.append((kind, body))
        at += 12 + length
    return chunks, None


def check_layout(name, data):
    """Chunk sequence IHDR, IDAT..., IEND and the header fields."""
    chunks, error = read_chunks(data)
    if error:
        return [f"{name}: {error}"]
    kinds = [kind for kind, _ in chunks]
    extra = sorted({k.decode("latin-1") for k in kinds} - {"IHDR", "IDAT", "IEND"})
    if extra:
        return [f"{name}: unexpected chunks {', '.join(extra)}"]
    if len(kinds) < 3 or kinds[0] != b"IHDR" or kinds[-1] != b"IEND" or set(kinds[1:-1]) != {b"IDAT"}:
        return [f"{name}: chunk order is {[k.decode('latin-1') for k in kinds]}"]
    failures = []
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    expected_width, expected_height, expected_colour = EXPECTED[name]
    if (width, height) != (expected_width, expected_height):
        failures.append(f"{name}: size {width}x{height}, expected {expected_width}x{expected_height}")
    if colour != expected_colour:
        failures.append(f"{name}: colour type {colour}, expected {expected_colour}")
    if depth != 8:
        failures.append(f"{name}: bit depth {depth}, expected 8")
    if interlace != 0:
        failures.append(f"{name}: interlaced")
    if compression != 0 or filtering != 0:
        failures.append(f"{name}: unknown compression or filter method")
    return failures


def luminance(pixel):
    return 0.2126 * pixel[0] + 0.7152 * pixel[1] + 0.0722 * pixel[2]


def check_background(image):
    """Opaque, dark, lighter in the middle than in the corners."""
    failures = []
    if image.mode != "RGB":
        failures.append(f"background.png: decodes as {image.mode}, not opaque RGB")
        return failures
    middle = luminance(image.resize((1, 1), Image.BOX, box=(860, 375, 1060, 575)).getpixel((0, 0)))
    corners = [luminance(image.resize((1, 1), Image.BOX, box=box).getpixel((0, 0)))
               for box in ((0, 0, 64, 64), (1856, 0, 1920, 64), (0, 1016, 64, 1080), (1856, 1016, 1920, 1080))]
    if middle > 80:
        failures.append(f"background.png: middle luminance {middle:.0f} is not dark")
    if not all(middle > corner + 10 for corner in corners):
        failures.append("background.png: middle is not clearly lighter than the corners")
    return failures


def check_card_alpha(name, image):
    """Cards on a transparent ground keep their corners clear; the help card is
    an opaque panel whose rounded corners stay transparent."""
    alpha = image.getchannel("A")
    corners = [alpha.getpixel(p) for p in ((0, 0), (image.width - 1, 0), (0, image.height - 1),
                                            (image.width - 1, image.height - 1))]
    failures = []
    if any(corners):
        failures.append(f"{name}: corner pixels are not transparent")
    if name == "help-card.png":
        inside = alpha.crop((40, 40, image.width - 40, image.height - 40))
        if inside.getextrema()[0] != 255:
            failures.append(f"{name}: panel is not opaque inside its border")
    elif alpha.getextrema()[1] < 255:
        failures.append(f"{name}: nothing is drawn fully opaque")
    return failures


def check_qr(image):
    """The help card's QR code, composited over white, scans to the support address."""
    if shutil.which("zbarimg") is None:
        return ["help-card.png: zbarimg is not installed, QR code not checked"]
    flat = Image.new("RGBA", image.size, (255, 255, 255, 255))
    flat.alpha_composite(image)
    with tempfile.TemporaryDirectory() as folder:
        path = Path(folder) / "help-card-flat.png"
        flat.convert("RGB").save(path)
        scan = subprocess.run(["zbarimg", "--raw", "-q", str(path)], capture_output=True, text=True)
    decoded = scan.stdout.strip()
    if decoded != SUPPORT_URL:
        return [f"help-card.png: QR code scans as {decoded!r}, expected {SUPPORT_URL!r}"]
    return []


def check_reproducible(folder, originals):
    """Regenerating into a fresh folder gives the same bytes."""
    with tempfile.TemporaryDirectory() as scratch:
        run = subprocess.run([sys.executable, str(GENERATOR), scratch], capture_output=True, text=True)
        if run.returncode != 0:
            last = (run.stderr.strip().splitlines() or ["no output"])[-1]
            return [f"generator failed with exit code {run.returncode}: {last}"]
        failures = []
        for name, data in originals.items():
            fresh = Path(scratch) / name
            if not fresh.exists():
                failures.append(f"{name}: generator did not write it")
            elif fresh.read_bytes() != data:
                failures.append(f"{name}: regenerated bytes differ from {folder / name}")
        return failures


def main(arguments):
    if len(arguments) != 2:
        print("usage: check_pictures.py <pictures-dir>")
        return 2
    folder = Path(arguments[1])
    failures, originals = [], {}
    for name in EXPECTED:
        path = folder / name
        if not path.exists():
            failures.append(f"{name}: missing")
            continue
        data = path.read_bytes()
        originals[name] = data
        layout_failures = check_layout(name, data)
        failures += layout_failures
        if layout_failures:
            continue
        image = Image.open(io.BytesIO(data))
        image.load()
        if name == "background.png":
            failures += check_background(image)
        else:
            failures += check_card_alpha(name, image)
        if name == "help-card.png":
            failures += check_qr(image)
    if originals:
        failures += check_reproducible(folder, originals)
    for failure in failures:
        print(failure)
    if failures:
        return 1
    print(f"pictures: all checks passed for {len(originals)} files")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
