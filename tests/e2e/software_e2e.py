"""End-to-end checks of the software fallback: the real orvane.scr under Wine on Xvfb with OpenGL
held below 3.3, checked on screen for the background, rings, cards and travelling arcs."""
import math
import os
import signal
import sys
import tempfile
import time
import unittest

from PIL import Image, ImageChops, ImageFilter

from saver_harness import REPO, SCR, VirtualDisplay, clear_log, read_log, stop, wait_exit

NO_GL_33 = {"MESA_GL_VERSION_OVERRIDE": "3.2"}
PICTURES = REPO / "src" / "assets" / "pictures"
TWO_MONITORS = dict(width=3200, height=1080, monitors=[(1920, 1080, 0, 0), (1280, 1024, 1920, 0)])
CORE_DOT = (244, 228, 190)


class Monitor:
    """Where the software frame puts things on one monitor, in screen pixels."""

    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height
        self.scale = width / 1920 if width < height else height / 1080
        self.cx, self.cy = x + 0.5 * width, y + 0.44 * height
        self.radii = [radius * self.scale for radius in (430, 560, 700)]
        self.arc_reach = [4 * pen * self.scale + 3 for pen in (2.6, 1.6, 1.2)]

        def half(width, height):
            return width * 0.5 * self.scale, height * 0.5 * self.scale

        combined, help_card, wordmark = half(1800, 786), half(1082, 496), half(234, 36)
        bottom = y + height - 104 * self.scale
        self.cards = {
            "combined-card": (self.cx - combined[0] / 2, self.cy - combined[1] / 2, *combined),
            "help-card": (x + width - 64 * self.scale - help_card[0], bottom - help_card[1], *help_card),
            "wordmark": (x + 64 * self.scale, bottom - wordmark[1], *wordmark),
        }

    def polar(self, px, py):
        dx, dy = px + 0.5 - self.cx, py + 0.5 - self.cy
        return math.hypot(dx, dy), math.degrees(math.atan2(dy, dx))

    def point(self, radius, degrees):
        radians = math.radians(degrees)
        return (int(math.floor(self.cx + radius * math.cos(radians))),
                int(math.floor(self.cy + radius * math.sin(radians))))

    def in_card(self, px, py, margin=4):
        return any(left - margin <= px <= left + width + margin and top - margin <= py <= top + height + margin
                   for left, top, width, height in self.cards.values())

    def near_ring(self, px, py, margin=12):
        radius, _ = self.polar(px, py)
        return any(abs(radius - ring) < margin for ring in self.radii)

    def background(self):
        """The background picture stretched over the monitor, as the static frame draws it."""
        picture = Image.open(PICTURES / "background.png").convert("RGB")
        return picture.resize((self.width, self.height), Image.BILINEAR)


def screenshot(display):
    """The root window as 8-bit RGB: Pillow reads a 16-bit PPM from `import` slowly (seconds)."""
    with tempfile.NamedTemporaryFile(suffix=".ppm") as shot:
        display.run(["import", "-window", "root", "-depth", "8", shot.name], timeout=60)
        return Image.open(shot.name).convert("RGB")


def angle_between(start, end):
    """Signed angle from start to end in (-180, 180]; positive is clockwise on screen."""
    difference = (end - start) % 360.0
    return difference - 360.0 if difference > 180.0 else difference


class SoftwareFallback(unittest.TestCase):
    def shots(self, display, saver, apart=1.0):
        """Two screenshots `apart` seconds apart, each taken with the saver paused so that it shows one
        frame, with the moment the saver was paused."""
        taken = []
        for index in range(2):
            if index:
                time.sleep(apart)
            os.kill(saver.pid, signal.SIGSTOP)
            moment = time.monotonic()
            try:
                time.sleep(0.2)  # let the X server finish the last frame's drawing
                taken.append((screenshot(display), moment))
            finally:
                os.kill(saver.pid, signal.SIGCONT)
        return taken

    # --- what must be on screen -------------------------------------------------------------------

    def check_cards(self, monitor, shot, background, moved):
        for name, (left, top, width, height) in monitor.cards.items():
            with self.subTest(card=name, monitor=(monitor.x, monitor.y)):
                box = (round(left), round(top), round(left + width), round(top + height))
                size = (box[2] - box[0], box[3] - box[1])
                card = Image.open(PICTURES / f"{name}.png").convert("RGBA").resize(size, Image.BOX)
                beneath = background.crop((box[0] - monitor.x, box[1] - monitor.y, box[2] - monitor.x,
                                           box[3] - monitor.y)).convert("RGBA")
                expected = Image.alpha_composite(beneath, card).convert("RGB")
                # Compare only where the picture is flat, so that resampling details do not matter.
                spread = [ImageChops.subtract(band.filter(ImageFilter.MaxFilter(5)),
                                              band.filter(ImageFilter.MinFilter(5))) for band in card.split()]
                flat = ImageChops.lighter(ImageChops.lighter(spread[0], spread[1]),
                                          ImageChops.lighter(spread[2], spread[3]))
                actual = shot.crop(box)
                compared = mismatched = visible = changed = 0
                for index, (got, want, under, spread_value) in enumerate(
                        zip(actual.getdata(), expected.getdata(), beneath.convert("RGB").getdata(),
                            flat.getdata())):
                    px, py = box[0] + index % size[0], box[1] + index // size[0]
                    changed += max(abs(a - b) for a, b in zip(got, under)) > 24
                    if spread_value > 4 or (px, py) in moved or monitor.near_ring(px, py):
                        continue
                    compared += 1
                    visible += max(abs(a - b) for a, b in zip(want, under)) > 24
                    mismatched += max(abs(a - b) for a, b in zip(got, want)) > 10
                self.assertGreater(compared, 0)
                # The wordmark is thin lettering only; the other cards have solid areas.
                self.assertGreater(changed, size[0] * size[1] // 20, "the card's picture does not show")
                if name != "wordmark":
                    self.assertGreater(visible, 200, "too few solid areas of the card could be compared")
                self.assertLessEqual(mismatched, compared // 50, f"{mismatched} of {compared} samples differ")

    def lit_share(self, monitor, shot, background, ring, moved):
        """Share of sampled angles, away from cards and arcs, where the ring brightens the background."""
        radius = monitor.radii[ring]
        lit = sampled = 0
        for step in range(0, 1440):
            degrees = step / 4
            px, py = monitor.point(radius, degrees)
            inside = monitor.x + 3 <= px < monitor.x + monitor.width - 3 and 3 <= py < monitor.height - 3
            if not inside or monitor.in_card(px, py) or (px, py) in moved:
                continue
            sampled += 1
            # A one-pixel ring without anti-aliasing is a staircase that a radial ray can slip
            # through diagonally: look at the pixels next to the ray too.
            lit += any(shot.getpixel((qx, qy))[0] - background.getpixel((qx - monitor.x, qy - monitor.y))[0] >= 6
                       for offset in (-2, -1, 0, 1, 2)
                       for qx, qy in [monitor.point(radius + offset, degrees)]
                       for qx, qy in ((qx + dx, qy + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)))
        self.assertGreater(sampled, 100)
        return lit / sampled

    def check_rings(self, monitor, shot, background, moved):
        with self.subTest(rings=(monitor.x, monitor.y)):
            self.assertGreater(self.lit_share(monitor, shot, background, 0, moved), 0.9, "ring 1")
            dashed = self.lit_share(monitor, shot, background, 1, moved)
            self.assertTrue(0.05 < dashed < 0.45, f"ring 2 is dashed: lit share {dashed:.2f}")
            self.assertGreater(self.lit_share(monitor, shot, background, 2, moved), 0.9, "ring 3")

    def moved_pixels(self, monitor, first, second):
        """Pixels of the monitor that differ between the two shots."""
        box = (monitor.x, monitor.y, monitor.x + monitor.width, monitor.y + monitor.height)
        difference = ImageChops.difference(first.crop(box), second.crop(box)).convert("L")
        width = monitor.width
        return {(monitor.x + index % width, monitor.y + index // width)
                for index, value in enumerate(difference.getdata()) if value}

    def lead_angle(self, monitor, shot, other, arc, moved):
        """Angle of the brightest pixel of an arc's band that this shot shows brighter than the other."""
        best, angle = -1, None
        for px, py in moved:
            radius, degrees = monitor.polar(px, py)
            if abs(radius - monitor.radii[arc]) > monitor.arc_reach[arc]:
                continue
            mine, theirs = shot.getpixel((px, py)), other.getpixel((px, py))
            if sum(mine) > sum(theirs) and sum(mine) > best:
                best, angle = sum(mine), degrees
        self.assertIsNotNone(angle, f"arc {arc + 1} not found")
        return angle

    def check_arcs_moved(self, monitor, shots, moved):
        (first, first_time), (second, second_time) = shots
        elapsed = second_time - first_time
        self.assertTrue(moved, "nothing moved between the two screenshots")
        stray = [pixel for pixel in moved
                 if not any(abs(monitor.polar(*pixel)[0] - ring) <= reach
                            for ring, reach in zip(monitor.radii, monitor.arc_reach))]
        self.assertEqual(stray[:10], [], "pixels changed off the arcs' rings")
        # Arc 1 turns clockwise at 22.5 degrees a second, arc 2 anticlockwise at 360 / 28.
        for arc, speed in ((0, 22.5), (1, -360 / 28)):
            turned = angle_between(self.lead_angle(monitor, first, second, arc, moved),
                                   self.lead_angle(monitor, second, first, arc, moved))
            expected = speed * elapsed
            self.assertLess(abs(turned - expected), 0.4 * abs(expected) + 4,
                            f"arc {arc + 1} turned {turned:.1f} degrees in {elapsed:.2f} s")

    def check_help_card_still(self, monitor, shots):
        left, top, width, height = monitor.cards["help-card"]
        box = (math.ceil(left), math.ceil(top), math.floor(left + width), math.floor(top + height))
        first, second = (shot.crop(box) for shot, _ in shots)
        self.assertIsNone(ImageChops.difference(first, second).getbbox(), "the help card changed")

    def check_monitor(self, monitor, shots):
        background = monitor.background()
        moved = self.moved_pixels(monitor, shots[0][0], shots[1][0])
        self.check_arcs_moved(monitor, shots, moved)
        self.check_help_card_still(monitor, shots)
        self.check_rings(monitor, shots[1][0], background, moved)
        self.check_cards(monitor, shots[1][0], background, moved)

    # --- scenarios ----------------------------------------------------------------------------------

    def run_fallback(self, layout, monitors):
        clear_log()
        with VirtualDisplay(**layout) as display:
            saver = display.start_saver("/s", env_extra=NO_GL_33)
            try:
                windows = display.wait_for_windows(len(monitors))
                self.assertEqual(len(windows), len(monitors))
                time.sleep(2.0)  # past the arcs' fade-in
                shots = self.shots(display, saver)
                self.assertIsNone(saver.poll(), "the saver ended on its own")
                display.key(windows[0], "space")
                self.assertEqual(wait_exit(saver), 0)
            finally:
                stop(saver)
        self.assertEqual(read_log(), ["GL 3.3 core context not available"] * len(monitors))
        for monitor in monitors:
            with self.subTest(monitor=(monitor.x, monitor.y)):
                self.check_monitor(monitor, shots)

    def test_without_opengl_three_three_the_software_frame_shows_and_a_key_ends_it(self):
        self.run_fallback({}, [Monitor(0, 0, 1920, 1080)])

    def test_two_software_monitors_are_both_drawn(self):
        self.run_fallback(TWO_MONITORS, [Monitor(0, 0, 1920, 1080), Monitor(1920, 0, 1280, 1024)])


if __name__ == "__main__":
    if not SCR:
        sys.exit("ORVANE_SCR is not set")
    unittest.main(verbosity=2)
