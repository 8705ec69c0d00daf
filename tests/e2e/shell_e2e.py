"""End-to-end checks of the saver's modes, windows, input and diagnostic log under Wine on Xvfb."""
import re
import subprocess
import sys
import time
import unittest

from saver_harness import (PREVIEW_HOST, SCR, VirtualDisplay, clear_log, read_log, still_running_after, stop,
                           wait_exit, windows_path)

TWO_MONITORS = dict(width=3200, height=1080, monitors=[(1920, 1080, 0, 0), (1280, 1024, 1920, 0)])


class FullScreen(unittest.TestCase):
    def run_and_end(self, end, monitors=None):
        """Starts /s, checks one window per monitor, ends it with `end` and returns the exit code."""
        clear_log()
        with VirtualDisplay(**(monitors or {})) as display:
            saver = display.start_saver("/s")
            try:
                windows = display.saver_windows()
                self.assertTrue(windows, "no saver window appeared")
                end(display, saver, windows)
                code = wait_exit(saver)
            finally:
                stop(saver)
            self.assertEqual(display.saver_windows(wait=False), [], "a saver window outlived the process")
        return code

    def test_a_key_ends_the_saver_with_exit_code_zero_and_no_log(self):
        def end(display, saver, windows):
            self.assertEqual(display.geometry(windows[0]), (0, 0, 1920, 1080))
            self.assertTrue(still_running_after(saver, 1.0))
            display.key(windows[0], "space")
        self.assertEqual(self.run_and_end(end), 0)
        self.assertIsNone(read_log(), "a working OpenGL set-up writes no log")

    def test_click_and_wheel_end_the_saver(self):
        for button in ("1", "3", "4"):
            with self.subTest(button=button):
                def end(display, saver, windows):
                    self.assertTrue(still_running_after(saver, 1.0))
                    display.xdotool("click", button)
                self.assertEqual(self.run_and_end(end), 0)

    def test_eight_pixels_of_mouse_movement_are_tolerated_and_nine_end_it(self):
        # The start point is where the cursor is when the saver starts, so move first, then start.
        clear_log()
        with VirtualDisplay() as display:
            display.xdotool("mousemove", "500", "500")
            saver = display.start_saver("/s")
            try:
                self.assertTrue(display.saver_windows())
                time.sleep(1.0)
                for step in (("4", "4"), ("4", "4"), ("-8", "-8"), ("8", "8")):
                    display.xdotool("mousemove_relative", "--", *step)
                    self.assertTrue(still_running_after(saver, 0.4), f"ended after {step}")
                display.xdotool("mousemove_relative", "--", "1", "0")
                self.assertEqual(wait_exit(saver), 0)
            finally:
                stop(saver)

    def test_two_monitors_get_one_window_each_covering_it_and_any_key_ends_both(self):
        def end(display, saver, windows):
            windows = display.wait_for_windows(2)
            geometries = sorted(display.geometry(window) for window in windows)
            self.assertEqual(geometries, [(0, 0, 1920, 1080), (1920, 0, 1280, 1024)])
            display.key(windows[-1], "Escape")
        self.assertEqual(self.run_and_end(end, TWO_MONITORS), 0)
        self.assertIsNone(read_log())

    def test_a_monitor_left_of_the_primary_is_covered_too(self):
        layout = dict(width=3200, height=1080, monitors=[(1920, 1080, 1280, 0), (1280, 1024, 0, 56)])

        def end(display, saver, windows):
            geometries = sorted(display.geometry(window) for window in display.wait_for_windows(2))
            self.assertEqual(geometries, [(0, 56, 1280, 1024), (1280, 0, 1920, 1080)])
            display.xdotool("click", "1")
        self.assertEqual(self.run_and_end(end, layout), 0)

    def test_without_opengl_three_three_each_window_logs_one_line_and_runs_appending(self):
        override = {"MESA_GL_VERSION_OVERRIDE": "3.2"}
        clear_log()
        for run in (1, 2):
            with VirtualDisplay(**TWO_MONITORS) as display:
                saver = display.start_saver("/s", env_extra=override)
                try:
                    windows = display.wait_for_windows(2)
                    self.assertEqual(len(windows), 2)
                    self.assertTrue(still_running_after(saver, 1.0))
                    display.key(windows[0], "space")
                    self.assertEqual(wait_exit(saver), 0)
                finally:
                    stop(saver)
            self.assertEqual(read_log(), ["GL 3.3 core context not available"] * (2 * run))


class OtherModes(unittest.TestCase):
    def test_password_request_ends_at_once_without_a_window(self):
        with VirtualDisplay() as display:
            for switch in ("/a", "-A"):
                saver = display.start_saver(switch)
                self.assertEqual(wait_exit(saver, 10), 0)
                self.assertEqual(display.saver_windows(wait=False), [])

    def test_settings_shows_the_message_box_and_ends_with_zero(self):
        with VirtualDisplay() as display:
            for arguments in (["/c"], ["/C:1234"], [], ["s"]):
                with self.subTest(arguments=arguments):
                    saver = display.start_saver(*arguments)
                    try:
                        boxes = display.saver_windows()
                        self.assertEqual(len(boxes), 1, "one message box titled Orvane")
                        x, y, width, height = display.geometry(boxes[0])
                        self.assertLess(width, 1000, "a message box, not a saver window")
                        self.assertTrue(still_running_after(saver, 0.5), "the box waits for the user")
                        display.key(boxes[0], "Return")
                        self.assertEqual(wait_exit(saver), 0)
                    finally:
                        stop(saver)


class Preview(unittest.TestCase):
    def host(self, display, width, height, action="destroy", seconds=2.0, switch="/p", during=None):
        command = ["wine", PREVIEW_HOST, windows_path(SCR), str(width), str(height), action, str(seconds), switch]
        host = subprocess.Popen(command, env=display.env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True)
        if during:
            during(display)
        output, _ = host.communicate(timeout=60)
        match = re.search(r"child=(\d+)x(\d+) alive=(\d) exit=(\w+)", output)
        self.assertIsNotNone(match, output)
        return (int(match.group(1)), int(match.group(2))), match.group(3) == "1", match.group(4)

    def test_the_child_takes_the_host_client_size_and_ends_when_the_host_destroys_it(self):
        with VirtualDisplay() as display:
            self.assertEqual(self.host(display, 152, 112), ((152, 112), True, "0"))
            self.assertEqual(self.host(display, 152, 112, switch="/l"), ((152, 112), True, "0"))
            self.assertEqual(self.host(display, 0, 0), ((1, 1), True, "0"))

    def test_closing_the_child_ends_the_saver(self):
        with VirtualDisplay() as display:
            self.assertEqual(self.host(display, 200, 150, action="close", seconds=1.0), ((200, 150), True, "0"))

    def test_input_over_the_preview_changes_nothing(self):
        def poke(display):
            time.sleep(2.0)
            display.xdotool("mousemove", "150", "150")
            display.xdotool("click", "1")
            display.xdotool("click", "4")
            display.xdotool("key", "space")
            display.xdotool("mousemove_relative", "40", "40")

        clear_log()
        with VirtualDisplay() as display:
            self.assertEqual(self.host(display, 200, 150, seconds=4.0, during=poke), ((200, 150), True, "0"))
        self.assertIsNone(read_log())

    def test_a_handle_that_is_not_a_window_ends_at_once(self):
        with VirtualDisplay() as display:
            for arguments in (["/p"], ["/p:"], ["/p", "0"], ["/p", "abc"], ["/p", "123456789"]):
                with self.subTest(arguments=arguments):
                    saver = display.start_saver(*arguments)
                    self.assertEqual(wait_exit(saver, 10), 0)
                    self.assertEqual(display.saver_windows(wait=False), [])


if __name__ == "__main__":
    if not SCR:
        sys.exit("ORVANE_SCR is not set")
    unittest.main(verbosity=2)
