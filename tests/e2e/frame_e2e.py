"""End to end: the real saver's OpenGL frame on screen, full screen at 1920 x 1080."""
import sys
import time
import unittest

from saver_harness import SCR, VirtualDisplay, clear_log, read_log, stop, wait_exit


def brightness(pixel):
    return sum(pixel) / 3.0


class GlFrame(unittest.TestCase):
    def test_cards_sit_in_their_corners_and_the_lit_model_is_left_of_centre(self):
        clear_log()
        with VirtualDisplay() as display:
            saver = display.start_saver("/s")
            try:
                windows = display.saver_windows()
                self.assertTrue(windows)
                # About 12 s into the cycle: cards faded in, the gantry gone, the model lit by the slice.
                time.sleep(11.0)
                shot = display.screenshot()
                display.key(windows[0], "space")
                self.assertEqual(wait_exit(saver), 0)
            finally:
                stop(saver)
        self.assertIsNone(read_log(), "all OpenGL set-up steps worked: no log file")
        pixels = shot.load()

        # The help card's light panel fills (1315, 728)-(1856, 976); just outside it the frame is dark.
        inside = sorted(brightness(pixels[x, y]) for x in range(1325, 1850, 10) for y in range(738, 970, 10))
        self.assertGreater(inside[len(inside) // 4], 150, "the help card's panel is mostly light")
        self.assertLess(brightness(pixels[1300, 850]), 80)
        self.assertLess(brightness(pixels[1600, 990]), 80)

        # The logo (64, 56, 330 x 126) and tagline (64, 840, 720 x 136) carry bright text.
        def bright_in(left, top, width, height, level=170):
            return sum(1 for x in range(left, left + width, 2) for y in range(top, top + height, 2)
                       if brightness(pixels[x, y]) > level)
        self.assertGreater(bright_in(64, 56, 330, 126), 200, "logo")
        self.assertGreater(bright_in(64, 840, 720, 136), 200, "tagline")
        self.assertEqual(bright_in(64, 200, 330, 100), 0, "nothing bright between logo and tagline edge")

        # The model's light is centred left of the middle by the camera's lens shift (a band symmetric
        # about the middle, clear of the cards).
        total = weighted_x = weighted_y = 0.0
        for y in range(150, 720, 3):
            for x in range(400, 1520, 3):
                value = brightness(pixels[x, y])
                if value > 60:
                    total += value
                    weighted_x += value * x
                    weighted_y += value * y
        self.assertGreater(total, 0, "the point cloud is lit")
        self.assertLess(weighted_x / total, 930, "model left of centre")


if __name__ == "__main__":
    if not SCR:
        sys.exit("ORVANE_SCR is not set")
    unittest.main(verbosity=2)
