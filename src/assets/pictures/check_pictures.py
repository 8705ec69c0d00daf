#!/usr/bin/python3
"""Checks the six embedded pictures: the PNG layout the saver's decoder relies on, the content a
broken generator would lose, the help card's QR code, and that regenerating reproduces every byte.
Usage: check_pictures.py <pictures-dir>; prints one line per failure and exits 1 on any."""

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
EXPECTED = {"background.png": (1920, 1080, 2), "combined-card.png": (1800, 786, 6),
            "help-card.png": (1082, 496, 6), "wordmark.png": (234, 36, 6), "logo.png": (660, 252, 6),
            "tagline.png": (1440, 272, 6)}
SUPPORT_URL = "https://www.orvane.example/support"
GENERATOR = Path(__file__).resolve().parent / "generate_pictures.py"


def check_layout(name, data):
    """Signature, intact chunks IHDR, IDAT..., IEND and nothing else, and the header fields."""
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return "no PNG signature"
    chunks, at = [], 8
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8].ljust(8, b"\0"))
        body, crc = data[at + 8:at + 8 + length], data[at + 8 + length:at + 12 + length]
        if len(body) != length or len(crc) != 4:
            return "truncated chunk"
        if struct.unpack(">I", crc)[0] != zlib.crc32(kind + body):
            return f"bad CRC in {kind!r}"
        chunks.append((kind, body))
        at += 12 + length
    kinds = [kind for kind, _ in chunks]
    if len(kinds) < 3 or kinds[0] != b"IHDR" or kinds[-1] != b"IEND" or set(kinds[1:-1]) != {b"IDAT"}:
        return f"chunks are {kinds}, expected IHDR, IDAT..., IEND only"
    width, height, depth, colour, compression, filtering, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    found = (width, height, colour, depth, compression, filtering, interlace)
    if found != EXPECTED[name] + (8, 0, 0, 0):
        return f"(width, height, colour type, depth, compression, filter, interlace) is {found}, expected " \
               f"{EXPECTED[name] + (8, 0, 0, 0)}"
    return None


def luminance(image, box):
    r, g, b = image.resize((1, 1), Image.BOX, box=box).getpixel((0, 0))
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def check_content(name, image):
    """A dark vignetted background; cards with transparent corners, opaque where drawn; the QR code
    of the help card, composited over white, scans to the support address."""
    if name == "background.png":
        middle = luminance(image, (860, 375, 1060, 575))
        corners = [luminance(image, (x, y, x + 64, y + 64)) for x in (0, 1856) for y in (0, 1016)]
        if middle > 80 or not all(middle > corner + 10 for corner in corners):
            return [f"middle luminance {middle:.0f} is not dark and clearly above the corners {corners}"]
        return []
    alpha, failures = image.getchannel("A"), []
    if any(alpha.getpixel((x, y)) for x in (0, image.width - 1) for y in (0, image.height - 1)):
        failures.append("corner pixels are not transparent")
    if name != "help-card.png":
        return failures + (["nothing is drawn fully opaque"] if alpha.getextrema()[1] < 255 else [])
    if alpha.crop((40, 40, image.width - 40, image.height - 40)).getextrema()[0] != 255:
        failures.append("panel is not opaque inside its border")
    if shutil.which("zbarimg") is None:
        return failures + ["zbarimg is not installed, QR code not checked"]
    flat = Image.new("RGBA", image.size, (255, 255, 255, 255))
    flat.alpha_composite(image)
    with tempfile.TemporaryDirectory() as folder:
        flat_path = Path(folder) / "flat.png"
        flat.convert("RGB").save(flat_path)
        scan = subprocess.run(["zbarimg", "--raw", "-q", str(flat_path)], capture_output=True, text=True)
    if scan.stdout.strip() != SUPPORT_URL:
        failures.append(f"QR code scans as {scan.stdout.strip()!r}, expected {SUPPORT_URL!r}")
    return failures


def main(arguments):
    if len(arguments) != 2:
        print("usage: check_pictures.py <pictures-dir>")
        return 2
    failures, originals = [], {}
    for name in EXPECTED:
        path = Path(arguments[1]) / name
        if not path.exists():
            failures.append(f"{name}: missing")
            continue
        originals[name] = path.read_bytes()
        layout_failure = check_layout(name, originals[name])
        problems = [layout_failure] if layout_failure else \
            check_content(name, Image.open(io.BytesIO(originals[name])))
        failures += [f"{name}: {problem}" for problem in problems]
    with tempfile.TemporaryDirectory() as scratch:
        run = subprocess.run([sys.executable, str(GENERATOR), scratch], capture_output=True, text=True)
        if run.returncode != 0:
            failures.append(f"generator failed with exit code {run.returncode}: {run.stderr.strip()[-300:]}")
        else:
            for name, data in originals.items():
                fresh = Path(scratch) / name
                if not fresh.exists() or fresh.read_bytes() != data:
                    failures.append(f"{name}: regenerated bytes differ")
    print("\n".join(failures) or f"pictures: all checks passed for {len(originals)} files")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
