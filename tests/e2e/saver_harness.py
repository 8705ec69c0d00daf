# Drives the real orvane.scr under Wine on a private Xvfb display, as Windows would.
#
# Every display is its own X server (so that monitor layouts can differ) with a wineserver bound
# to it; both are stopped afterwards, which also ends any saver a failed check left running.
import getpass
import io
import os
import subprocess
import time
from pathlib import Path

from PIL import Image

SCR = os.environ["ORVANE_SCR"]
PREVIEW_HOST = os.environ.get("ORVANE_PREVIEW_HOST", "")
REPO = Path(__file__).resolve().parents[2]
# The same Wine environment as scripts/common.sh, when the caller has not set one.
os.environ.setdefault("WINEPREFIX", str(REPO / ".wine"))
os.environ.setdefault("WINEDEBUG", "-all")
os.environ.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=;winedbg.exe=d")
# GetTempPathW under Wine: C:\users\<name>\Temp.
LOG = Path(os.environ["WINEPREFIX"], "drive_c", "users", getpass.getuser(), "Temp", "orvane-screensaver.log")


class VirtualDisplay:
    # monitors: (width, height, x, y) each, split from one screen with RandR 1.5; the first is primary.
    def __init__(self, width=1920, height=1080, monitors=()):
        self.size, self.monitors = f"{width}x{height}x24", monitors

    def __enter__(self):
        # Xvfb picks a free display number itself and writes it once it accepts clients.
        ready, writer = os.pipe()
        xvfb = ["Xvfb", "-displayfd", str(writer), "-screen", "0", self.size, "-noreset", "-nolisten", "tcp"]
        self.server = subprocess.Popen(xvfb, pass_fds=[writer], stderr=subprocess.DEVNULL)
        os.close(writer)
        with os.fdopen(ready) as number:
            self.env = dict(os.environ, DISPLAY=":" + number.readline().strip())
        for index, (w, h, x, y) in enumerate(self.monitors):
            name, output = ("*MAIN", "screen") if index == 0 else (f"SIDE{index}", "none")
            # Physical sizes in millimetres at about 96 dpi.
            size = f"{w}/{w * 254 // 960}x{h}/{h * 254 // 960}+{x}+{y}"
            self.run(["xrandr", "--setmonitor", name, size, output])
        # A kept-alive wineserver stays bound to the display and layout it started with.
        self.run(["wineserver", "-k"], check=False)
        return self

    def __exit__(self, *exc):
        self.run(["wineserver", "-k"], check=False)
        self.server.terminate()
        self.server.wait()

    def run(self, command, check=True, timeout=60):
        result = subprocess.run(command, env=self.env, capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command} failed: {result.stderr}")
        return result

    def start(self, program, *arguments, env=None, stdout=subprocess.DEVNULL):
        return subprocess.Popen(["wine", program, *arguments], env=dict(self.env, **(env or {})),
                                stdin=subprocess.DEVNULL, stdout=stdout, stderr=subprocess.DEVNULL, text=True)

    def saver_windows(self, count=1, timeout=30):
        # The visible windows titled Orvane, once there are `count` (or what there is at the timeout).
        deadline = time.monotonic() + timeout
        while True:
            found = self.run(["xdotool", "search", "--onlyvisible", "--name", "^Orvane$"], check=False).stdout.split()
            if len(found) >= count or time.monotonic() > deadline:
                return found
            time.sleep(0.2)

    def geometry(self, window):
        output = self.run(["xdotool", "getwindowgeometry", "--shell", window]).stdout
        values = dict(line.split("=") for line in output.split())
        return int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"])

    def screenshot(self):
        # 8-bit depth: the 16-bit default decodes slowly.
        ppm = subprocess.check_output(["import", "-window", "root", "-depth", "8", "ppm:-"], env=self.env)
        return Image.open(io.BytesIO(ppm)).convert("RGB")

    def key(self, window, key="space", action="key"):
        # action "click" presses a mouse button instead (4 is the wheel).
        self.run(["xdotool", "windowfocus", "--sync", window, action, key])


def wait_exit(process, timeout=15):
    # The process's exit code, or None (and the process killed) if it runs past the timeout.
    try:
        return process.wait(timeout)
    except subprocess.TimeoutExpired:
        return stop(process)


def stop(process):
    process.kill()  # nothing happens to a process that has ended
    process.wait()


def write_log(*lines):
    LOG.write_bytes("".join(line + "\r\n" for line in lines).encode())


def read_log():
    # The diagnostic log's lines, or None when there is no log file.
    return LOG.read_bytes().decode("latin-1").split("\r\n")[:-1] if LOG.exists() else None
