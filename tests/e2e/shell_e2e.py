# End to end: the saver's modes, windows, input, OpenGL frame and diagnostic log, the real
# orvane.scr under Wine. The scenarios share one display where they can: starting Wine on a fresh
# display is the dear part.
import subprocess
import time
import unittest

from saver_harness import PREVIEW_HOST, SCR, VirtualDisplay, read_log, wait_exit, write_log


class Saver(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.display = cls.enterClassContext(VirtualDisplay())

    def setUp(self):
        write_log()

    def tearDown(self):
        self.assertEqual(read_log(), [], "a working OpenGL set-up writes no log")

    def full_screen(self):
        # Two monitors, one left of the primary, are covered in software_e2e.py.
        saver = self.display.start(SCR, "/s")
        windows = self.display.saver_windows()
        self.assertEqual(list(map(self.display.geometry, windows)), [(0, 0, 1920, 1080)])
        time.sleep(1.0)
        self.assertIsNone(saver.poll(), "ended without input")
        return saver, windows[0]

    def frame_faults(self, pixels):
        # left, top, width, height, what share of it is bright (above 150): the help card's light panel
        # (1315, 728, 541 x 248) and the dark frame just below it; the logo (64, 56, 330 x 126) and the
        # tagline (64, 840, 720 x 136) carry bright text, the dark gap between them none.
        areas = (((1325, 738, 520, 230), 0.75, 1), ((1325, 979, 520, 16), 0, 0), ((64, 200, 330, 100), 0, 0),
                 ((64, 56, 330, 126), 0.02, 0.6), ((64, 840, 720, 136), 0.02, 0.6))
        faults = []
        for (left, top, width, height), low, high in areas:
            bright = [pixels[x, y] > 150 for x in range(left, left + width, 4)
                      for y in range(top, top + height, 4)]
            faults += [] if low <= sum(bright) / len(bright) <= high else [(left, top)]
        # The model's light, in a band symmetric about the middle and clear of the cards, is centred
        # left of the middle by the camera's lens shift.
        lit = [(pixels[x, y], x) for x in range(400, 1520, 3) for y in range(150, 720, 3)
               if pixels[x, y] > 60]
        return faults + ([] if lit and sum(v * x for v, x in lit) / sum(v for v, _ in lit) < 930 else ["centre"])

    def test_the_frame_shows_the_cards_in_their_corners_and_the_lit_model_left_of_centre_until_a_key(self):
        saver, window = self.full_screen()
        # From about 11 s into the cycle: cards faded in, the gantry gone, the model lit by the slice
        # until 17.8 s. A loaded machine starts and draws the saver late, so shots are taken over four
        # seconds and the first whole one counts, rather than one at a guessed moment.
        time.sleep(9.5)
        for _ in range(9):
            if not (faults := self.frame_faults(self.display.screenshot().convert("L").load())):
                break
            time.sleep(0.5)
        self.display.key(window)
        self.assertEqual(wait_exit(saver), 0)
        self.assertEqual(faults, [])

    def test_eight_pixels_of_mouse_movement_are_tolerated_and_nine_end_it(self):
        # The saver measures from where the cursor was when it started.
        self.display.run(["xdotool", "mousemove", "500", "500"])
        saver = self.full_screen()[0]
        self.display.run(["xdotool", "mousemove", "508", "492", "sleep", "0.3", "mousemove", "492", "508"])
        time.sleep(1.0)
        self.assertIsNone(saver.poll(), "ended after moves of 8 pixels")
        self.display.run(["xdotool", "mousemove", "500", "509"])
        self.assertEqual(wait_exit(saver), 0)

    def test_settings_and_no_switch_show_a_message_box_and_the_others_end_at_once(self):
        # Under Wine "/p 32" names the desktop window: no place for a preview.
        for arguments, box in ((["/C:1234"], True), ([], True), (["s"], True), (["-A"], False), (["/p"], False),
                               (["/p", "abc"], False), (["/p", "123456789"], False), (["/p", "32"], False)):
            with self.subTest(arguments=arguments):
                saver = self.display.start(SCR, *arguments)
                if box:
                    (window,) = self.display.saver_windows()  # exactly one
                    self.assertLess(self.display.geometry(window)[2], 1000, "a message box, not the saver")
                    self.display.key(window, "Return")
                self.assertEqual(wait_exit(saver, 10), 0)

    def test_the_preview_fills_the_host_ignores_input_and_ends_with_its_host_however_it_goes(self):
        poke = ["mousemove", "150", "150", "click", "1", "click", "4", "key", "space", "mousemove", "190", "190"]
        # switch, host client size, how the host goes, the child's size, whether the saver ran until
        # then (None: the host went during the saver's start); the host is at (100, 100), the poke
        # inside it. The desktop's short handle, with the host as Explorer's shell window, and a
        # message-only window are no pane: the saver ends at once. A host process killed (later, or
        # while the saver is still creating its child), or a host window destroyed while the saver
        # creates its child, ends the saver as surely as a host that destroys its window.
        rows = (("/p", 200, 150, "destroy", "200x150", 1), ("/l", 152, 112, "destroy", "152x112", 1),
                ("/p", 0, 0, "destroy", "1x1", 1), ("/p desktop", 200, 150, "destroy", "0x0", 0),
                ("/p", 200, 150, "message-only", "0x0", 0), ("/p", 200, 150, "kill", "200x150", 1),
                ("/p", 200, 150, "on-create", "0x0", None), ("/p", 200, 150, "exit-on-create", "0x0", None))
        for switch, width, height, ending, child, alive in rows:
            with self.subTest(switch=switch, size=(width, height), ending=ending):
                # Wine shows the Unix root as drive Z:.
                host = self.display.start(PREVIEW_HOST, "Z:" + SCR.replace("/", "\\"), str(width),
                                          str(height), "2", switch, ending, stdout=subprocess.PIPE)
                self.assertEqual(host.stdout.readline().strip(), "child=" + child)
                self.display.run(["xdotool", *poke])
                host.wait(timeout=60)
                # Not communicate(): with a timeout it reads past what readline() buffered already.
                report = host.stdout.read()
                outcome = dict(item.split("=") for item in report.split())
                self.assertEqual(outcome.get("exit"), "0", f"host exit {host.returncode}: {report}")
                if alive is not None:
                    self.assertEqual(outcome["alive"], str(alive))
                self.assertLess(int(outcome["ended_ms"]), 3000, "the saver outlived its host")


if __name__ == "__main__":
    unittest.main(verbosity=2)
