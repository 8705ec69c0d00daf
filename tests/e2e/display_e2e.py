# End to end: the display changes size under the running saver (a Wine virtual desktop resized by
# display_host), on the OpenGL and the software path; the saver must cover the new size with a frame
# laid out for it, and still end on a key with exit code 0.
import os
import select
import subprocess
import time
import unittest
from pathlib import Path

from PIL import Image, ImageChops

from saver_harness import SCR, VirtualDisplay, read_log, stop, write_log

HOST = os.environ["ORVANE_DISPLAY_HOST"]
DESKTOP = (37, 111, 149)  # Wine's desktop colour: where it shows, no window covers the desktop
SHOTS = Path("display-e2e").resolve()


def frame_faults(shot, width, height):
    # The desktop showing, or the help card's light panel (91% bright in its picture) missing from
    # where cards.h puts it at this size.
    area = shot.crop((0, 0, width, height))
    red, green, blue = ImageChops.difference(area, Image.new("RGB", area.size, DESKTOP)).split()
    desktop = ImageChops.lighter(ImageChops.lighter(red, green), blue).point(lambda v: 255 * (v <= 4)).getbbox()
    s = height / 1080 if width >= height else width / 1920
    left, top, grey = width - 605 * s, height - 352 * s, area.convert("L")
    panel = [grey.getpixel((x, y)) > 150 for x in range(round(left + 10 * s), round(left + 531 * s), 4)
             for y in range(round(top + 10 * s), round(top + 238 * s), 4)]
    faults = [f"desktop shows in {desktop}"] if desktop else []
    return faults + ([f"no help card at {left:.0f},{top:.0f}"] if sum(panel) < 0.75 * len(panel) else [])


class DisplayChange(unittest.TestCase):
    def frame(self, display, size, name, seconds):
        # The faults of the first whole frame at `size`, or of the last shot when none comes in time.
        deadline = time.monotonic() + seconds
        while (faults := frame_faults(shot := display.screenshot(), *size)) and time.monotonic() < deadline:
            time.sleep(0.3)
        SHOTS.mkdir(exist_ok=True)
        shot.save(SHOTS / f"{name}.png", compress_level=1)
        print(SHOTS / f"{name}.png", faults)
        return faults

    def change(self, software, before, after):
        name = f"{'software' if software else 'gl'}-{before[0]}-to-{after[0]}"
        # Programs started in one desktop share it. Explorer drops their exit codes; cmd waits for a
        # program, the saver too, and prints its code. Wine shows the Unix root as drive Z:.
        desktop = ["explorer", f"/desktop={name},{before[0]}x{before[1]}", "cmd", "/v:on", "/c"]
        run = "Z:{} {} & echo !errorlevel!".format
        write_log()
        with VirtualDisplay(1920, 1080) as display:
            saver = display.start(*desktop, run(SCR.replace("/", "\\"), "/s"), stdout=subprocess.PIPE,
                                  env={"MESA_GL_VERSION_OVERRIDE": "3.2"} if software else {})
            self.addCleanup(saver.stdout.close)
            self.addCleanup(stop, saver)
            # The frame first: a window that got an OpenGL pixel format is made anew for software.
            self.assertEqual(self.frame(display, before, name + "-before", 20), [])
            self.assertEqual(list(map(display.geometry, display.saver_windows())), [(0, 0, *before)])
            size = display.run(["wine", *desktop, run(HOST.replace("/", "\\"), "%d %d" % after)]).stdout
            self.assertEqual(size.strip(), "0", "display_host")
            time.sleep(2.0)
            self.assertEqual(self.frame(display, after, name + "-after", 8), [])
            self.assertEqual(list(map(display.geometry, display.saver_windows())), [(0, 0, *after)])
            display.key(display.run(["xdotool", "search", "--name", f"^{name} - "]).stdout.split()[0])
            self.assertTrue(select.select([saver.stdout], [], [], 10)[0], "the saver did not end")
            self.assertEqual(saver.stdout.readline().strip(), "0", "the saver's exit code")
        self.assertEqual(set(read_log()), {"GL 3.3 core context not available"} if software else set())

    def test_a_display_grown_or_shrunk_under_the_saver_gets_a_whole_frame_of_its_new_size_on_either_path(self):
        for software in (False, True):
            for before, after in (((1280, 720), (1920, 1080)), ((1920, 1080), (1280, 720))):
                with self.subTest(software=software, before=before, after=after):
                    self.change(software, before, after)


if __name__ == "__main__":
    unittest.main(verbosity=2)
