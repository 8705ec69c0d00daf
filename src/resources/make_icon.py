#!/usr/bin/python3
"""Draws the saver's icon (orvane.ico): a gold scan ring around a warm-white tooth on deep ink."""
from pathlib import Path

from PIL import Image, ImageDraw

INK = (12, 16, 26, 255)
GOLD = (201, 167, 94, 255)
LIGHT_GOLD = (228, 201, 135, 255)
WARM_WHITE = (244, 236, 220, 255)


def draw(size: int) -> Image.Image:
    # Drawn large and reduced, so the small sizes stay smooth.
    big = size * 8
    image = Image.new("RGBA", (big, big), (0, 0, 0, 0))
    pen = ImageDraw.Draw(image)
    margin = big * 0.04
    pen.rounded_rectangle([margin, margin, big - margin, big - margin], radius=big * 0.22, fill=INK)
    ring = big * 0.16
    pen.ellipse([ring, ring, big - ring, big - ring], outline=GOLD, width=max(1, int(big * 0.055)))
    pen.arc([ring, ring, big - ring, big - ring], start=200, end=300, fill=LIGHT_GOLD, width=int(big * 0.075))
    # A molar: a rounded crown with two roots.
    c = big / 2
    w = big * 0.17
    pen.rounded_rectangle([c - w, c - w * 1.05, c + w, c + w * 0.25], radius=w * 0.55, fill=WARM_WHITE)
    pen.polygon([(c - w, c), (c - w * 0.15, c), (c - w * 0.45, c + w * 1.2)], fill=WARM_WHITE)
    pen.polygon([(c + w * 0.15, c), (c + w, c), (c + w * 0.45, c + w * 1.2)], fill=WARM_WHITE)
    return image.resize((size, size), Image.LANCZOS)


def main() -> None:
    sizes = [256, 48, 32, 16]
    frames = [draw(size) for size in sizes]
    frames[0].save(Path(__file__).with_name("orvane.ico"), sizes=[(s, s) for s in sizes],
                   append_images=frames[1:])


if __name__ == "__main__":
    main()
