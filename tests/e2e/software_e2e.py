# End to end: the software fallback of the real saver, forced by holding OpenGL below 3.3, on two
# monitors; checked on screen for the faint rings, the cards and the travelling arcs.
import math
import os
import signal
import time
import unittest

from PIL import Image, ImageChops, ImageStat

from saver_harness import REPO, SCR, VirtualDisplay, read_log, wait_exit, write_log

PICTURES = REPO / "src" / "assets" / "pictures"
# Per ring: radius, the ring's alpha, the share of it the dash pattern covers (2 on, 10 off), and the
# pen width of the arc that travels on it.
RINGS = ((430, 26, 1, 2.6), (560, 26, 1 / 6, 1.6), (700, 15, 1, 1.2))


class Monitor:
    def __init__(self, width, height):
        self.scale = s = width / 1920 if width < height else height / 1080
        self.cx, self.cy, self.size = 0.5 * width, 0.44 * height, (width, height)
        # Half-size pictures: the combined card on the rings' centre, the help card and the wordmark
        # in the bottom corners, 64 x s from the sides and 104 x s from the bottom.
        self.cards = {"combined-card": (self.cx - 450 * s, self.cy - 196.5 * s, 900 * s, 393 * s),
                      "wordmark": (64 * s, height - 122 * s, 117 * s, 18 * s),
                      "help-card": (width - 605 * s, height - 352 * s, 541 * s, 248 * s)}

    def on_ring(self, pixel, ring):
        # Within the reach of the arc's glow dot, 4 pen widths, and its anti-aliasing.
        distance = math.hypot(pixel[0] + 0.5 - self.cx, pixel[1] + 0.5 - self.cy)
        return abs(distance - ring[0] * self.scale) <= 4 * ring[3] * self.scale + 3

    def clear(self, x, y):
        return 0 <= x < self.size[0] and 0 <= y < self.size[1] and not any(
            left - 2 <= x <= left + w + 2 and top - 2 <= y <= top + h + 2
            for left, top, w, h in self.cards.values())


class SoftwareFallback(unittest.TestCase):
    def check_rings(self, monitor, shot, moved):
        for radius, alpha, share, _ in RINGS:
            # Red across the ring, from 8 pixels inside to 8 outside, where no card or arc covers it.
            rows = [[(math.floor(monitor.cx + (radius * monitor.scale + step) * math.cos(angle)),
                      math.floor(monitor.cy + (radius * monitor.scale + step) * math.sin(angle)))
                     for step in range(-8, 9)] for angle in (math.radians(e / 8) for e in range(2880))]
            rows = [[shot[p][0] for p in row] for row in rows
                    if all(monitor.clear(*p) and p not in moved for p in row)]
            profile = [sum(column) / len(rows) for column in zip(*rows)]
            ground = (sum(profile[:5]) + sum(profile[-5:])) / 10
            # A 1-pixel pen of colour (201, 167, 94) and this alpha adds alpha / 255 * (201 - ground)
            # to the red summed across the ring, times the share the dash pattern covers.
            light, expected = sum(profile[7:10]) - 3 * ground, alpha / 255 * (201 - ground) * share
            self.assertTrue(0.5 * expected < light < 1.5 * expected, (radius, light, expected))

    def check_monitor(self, monitor, first, second):
        difference = ImageChops.difference(first, second).convert("L").getdata()
        moved = {(i % first.width, i // first.width) for i, value in enumerate(difference) if value}
        self.check_rings(monitor, first.load(), moved)
        self.assertEqual([p for p in moved if not any(monitor.on_ring(p, ring) for ring in RINGS)][:10], [],
                         "pixels changed off the arcs' rings")
        self.assertTrue(all(any(monitor.on_ring(p, ring) for p in moved) for ring in RINGS), "an arc stood")
        # Each card over the stretched background: a mean difference per channel below 15 steps where
        # one 8 pixels off measures 26 and more (resampling here and GDI+'s differ by up to 10).
        background = Image.open(PICTURES / "background.png").convert("RGB").resize(first.size, Image.BICUBIC)
        for name, (left, top, width, height) in monitor.cards.items():
            box = (round(left), round(top), round(left + width), round(top + height))
            expected = background.crop(box).convert("RGBA")
            expected.alpha_composite(Image.open(PICTURES / f"{name}.png").resize(expected.size, Image.BICUBIC))
            difference = ImageChops.difference(expected.convert("RGB"), second.crop(box))
            self.assertLess(sum(ImageStat.Stat(difference).mean), 3 * 15, name)
        # The loop ended on the help card, which the arcs are clipped around (edge pixels may blend).
        inside = (box[0] + 1, box[1] + 1, box[2] - 1, box[3] - 1)
        self.assertIsNone(ImageChops.difference(first.crop(inside), second.crop(inside)).getbbox(), "arcs")

    def test_without_opengl_three_three_both_monitors_show_the_software_frame_and_the_wheel_ends_it(self):
        # The primary on the right puts the other monitor at negative Windows coordinates.
        layout = [(1920, 1080, 1280, 0), (1280, 1024, 0, 56)]
        write_log("an earlier line")
        self.addCleanup(write_log)
        with VirtualDisplay(3200, 1080, layout) as display:
            saver = display.start(SCR, "/s", env={"MESA_GL_VERSION_OVERRIDE": "3.2"})
            # Under load the first frame can come seconds after the windows: wait until both show the ground.
            # Only then are the windows the software ones (a window that got an OpenGL pixel format is
            # made anew).
            for shot in (display.screenshot() for _ in range(100)):
                if (0, 0, 0) not in map(shot.getpixel, [(2240, 20), (640, 80)]):
                    break
            windows = display.saver_windows(len(layout))
            self.assertEqual(sorted(map(display.geometry, windows)), [(0, 56, 1280, 1024), (1280, 0, 1920, 1080)])
            shots = []
            # The first shot past the arcs' fade-in, the second a second later, both while arc 3 passes under
            # the help card (21 to 46 degrees, saver times 0.1 to 6.8 s); a loaded machine may draw no frame
            # in a second, so the second shot is taken again until the screen has changed.
            for pause in (2.0, 1.0, 1.0, 1.0, 1.0):
                time.sleep(pause)
                # Stopped, the saver shows one frame; the X server gets a moment to finish drawing it.
                os.kill(saver.pid, signal.SIGSTOP)
                time.sleep(0.2)
                shots[1:] = [display.screenshot()]
                os.kill(saver.pid, signal.SIGCONT)
                if len(shots) == 2 and ImageChops.difference(*shots).getbbox():
                    break
            display.key(windows[0], "4", "click")
            self.assertEqual(wait_exit(saver), 0)
        # One line per window, appended to what was there.
        self.assertEqual(read_log(), ["an earlier line"] + ["GL 3.3 core context not available"] * 2)
        for width, height, x, y in layout:
            with self.subTest(monitor=(x, y)):
                first, second = (shot.crop((x, y, x + width, y + height)) for shot in shots)
                self.check_monitor(Monitor(width, height), first, second)


if __name__ == "__main__":
    unittest.main(verbosity=2)
