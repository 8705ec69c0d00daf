"""End-to-end check of the software fallback: the real orvane.scr under Wine on Xvfb with OpenGL held
below 3.3, on two monitors, checked on screen for the cards and the travelling arcs."""
import math
import os
import signal
import sys
import time
import unittest

from PIL import Image, ImageChops

from saver_harness import REPO, SCR, VirtualDisplay, clear_log, read_log, stop, wait_exit

PICTURES = REPO / "src" / "assets" / "pictures"


class Monitor:
    """Where the software frame puts things on one monitor, in screen pixels."""

    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height
        scale = width / 1920 if width < height else height / 1080
        self.cx, self.cy = x + 0.5 * width, y + 0.44 * height
        self.radii = [radius * scale for radius in (430, 560, 700)]
        self.arc_reach = [4 * pen * scale + 3 for pen in (2.6, 1.6, 1.2)]
        (cw, ch), (hw, hh), (ww, wh) = [(w * 0.5 * scale, h * 0.5 * scale)
                                        for w, h in ((1800, 786), (1082, 496), (234, 36))]
        bottom = y + height - 104 * scale
        self.cards = {"combined-card": (self.cx - cw / 2, self.cy - ch / 2, cw, ch),
                      "help-card": (x + width - 64 * scale - hw, bottom - hh, hw, hh),
                      "wordmark": (x + 64 * scale, bottom - wh, ww, wh)}

    def polar(self, pixel):
        dx, dy = pixel[0] + 0.5 - self.cx, pixel[1] + 0.5 - self.cy
        return math.hypot(dx, dy), math.degrees(math.atan2(dy, dx))

    def on_arc(self, pixel, arc):
        return abs(self.polar(pixel)[0] - self.radii[arc]) <= self.arc_reach[arc]


class SoftwareFallback(unittest.TestCase):
    def lead_angle(self, monitor, shot, other, arc, moved):
        """Angle of the brightest pixel of an arc's band that this shot shows brighter than the other."""
        candidates = [(sum(shot.getpixel(p)), monitor.polar(p)[1]) for p in moved
                      if monitor.on_arc(p, arc) and sum(shot.getpixel(p)) > sum(other.getpixel(p))]
        self.assertTrue(candidates, f"arc {arc + 1} not found")
        return max(candidates)[1]

    def check_monitor(self, monitor, shots):
        (first, first_time), (second, second_time) = shots
        box = (monitor.x, monitor.y, monitor.x + monitor.width, monitor.y + monitor.height)
        difference = ImageChops.difference(first.crop(box), second.crop(box)).convert("L")
        moved = {(monitor.x + index % monitor.width, monitor.y + index // monitor.width)
                 for index, value in enumerate(difference.getdata()) if value}
        self.assertTrue(moved, "nothing moved between the two screenshots")
        stray = [p for p in moved if not any(monitor.on_arc(p, arc) for arc in range(3))]
        self.assertEqual(stray[:10], [], "pixels changed off the arcs' rings")
        # Arc 1 turns clockwise at 22.5 degrees a second of saver time, arc 2 anticlockwise at 360 / 28.
        for arc, speed in ((0, 22.5), (1, -360 / 28)):
            turned = (self.lead_angle(monitor, second, first, arc, moved)
                      - self.lead_angle(monitor, first, second, arc, moved) + 180) % 360 - 180
            expected = speed * (second_time - first_time)
            self.assertLess(abs(turned - expected), 0.4 * abs(expected) + 4, f"arc {arc + 1} turned {turned:.1f}")
        background = Image.open(PICTURES / "background.png").convert("RGB").resize(
            (monitor.width, monitor.height), Image.BILINEAR)
        for name, (left, top, width, height) in monitor.cards.items():
            card = (math.ceil(left), math.ceil(top), math.floor(left + width), math.floor(top + height))
            if name == "help-card":
                self.assertIsNone(ImageChops.difference(first.crop(card), second.crop(card)).getbbox(),
                                  "the arcs covered the help card")
            beneath = background.crop((card[0] - monitor.x, card[1] - monitor.y, card[2] - monitor.x,
                                       card[3] - monitor.y))
            shown = ImageChops.difference(second.crop(card), beneath).convert("L").point(lambda v: v > 24 and 255)
            area = (card[2] - card[0]) * (card[3] - card[1])
            self.assertGreater(shown.histogram()[255], area // 20, f"{name} does not show")

    def test_without_opengl_three_three_both_monitors_show_the_software_frame_and_a_key_ends_it(self):
        monitors = [Monitor(0, 0, 1920, 1080), Monitor(1920, 0, 1280, 1024)]
        clear_log()
        layout = [(1920, 1080, 0, 0), (1280, 1024, 1920, 0)]
        with VirtualDisplay(width=3200, height=1080, monitors=layout) as display:
            saver = display.start_saver("/s", env_extra={"MESA_GL_VERSION_OVERRIDE": "3.2"})
            try:
                windows = display.wait_for_windows(len(monitors))
                self.assertEqual(len(windows), len(monitors))
                shots = []
                for pause in (2.0, 1.0):  # the first shot past the arcs' fade-in
                    time.sleep(pause)
                    # Stopped, the saver shows one frame; the X server gets a moment to finish drawing it.
                    os.kill(saver.pid, signal.SIGSTOP)
                    moment = time.monotonic()
                    try:
                        time.sleep(0.2)
                        shots.append((display.screenshot(), moment))
                    finally:
                        os.kill(saver.pid, signal.SIGCONT)
                self.assertIsNone(saver.poll(), "the saver ended on its own")
                display.key(windows[0], "space")
                self.assertEqual(wait_exit(saver), 0)
            finally:
                stop(saver)
        self.assertEqual(read_log(), ["GL 3.3 core context not available"] * len(monitors))
        for monitor in monitors:
            with self.subTest(monitor=monitor.x):
                self.check_monitor(monitor, shots)


if __name__ == "__main__":
    if not SCR:
        sys.exit("ORVANE_SCR is not set")
    unittest.main(verbosity=2)
