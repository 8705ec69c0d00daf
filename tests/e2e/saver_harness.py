"""Drives the real orvane.scr under Wine on a private Xvfb display, as Windows would.

Every scenario gets its own X server (so that monitor layouts can differ) and a wineserver bound to
it; both are stopped afterwards. The Wine prefix is the project's (WINEPREFIX from the environment).
"""
import glob
import os
import subprocess
import tempfile
import time
from pathlib import Path

from PIL import Image

SCR = os.environ.get("ORVANE_SCR", "")
PREVIEW_HOST = os.environ.get("ORVANE_PREVIEW_HOST", "")
LOG_NAME = "orvane-screensaver.log"
REPO = Path(__file__).resolve().parents[2]

# The same Wine environment as scripts/common.sh, when the caller has not set one.
os.environ.setdefault("WINEPREFIX", str(REPO / ".wine"))
os.environ.setdefault("WINEDEBUG", "-all")
os.environ.setdefault("WINEDLLOVERRIDES", "mscoree,mshtml=;winedbg.exe=d")


def _free_display_number():
    for number in range(60, 200):
        if not os.path.exists(f"/tmp/.X{number}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{number}"):
            return number
    raise RuntimeError("no free X display number")


class VirtualDisplay:
    """An Xvfb screen, optionally split into monitors with RandR 1.5.

    monitors: list of (width, height, x, y); the first one is the primary and claims the output.
    """

    def __init__(self, width=1920, height=1080, monitors=None):
        self.width, self.height, self.monitors = width, height, monitors or []
        self.server = None
        self.env = dict(os.environ)

    def __enter__(self):
        number = _free_display_number()
        self.server = subprocess.Popen(
            ["Xvfb", f":{number}", "-screen", "0", f"{self.width}x{self.height}x24", "-noreset", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = f":{number}"
        deadline = time.time() + 10
        while subprocess.run(["xdpyinfo"], env=self.env, capture_output=True).returncode != 0:
            if time.time() > deadline:
                raise RuntimeError("Xvfb did not start")
            time.sleep(0.1)
        for index, (w, h, x, y) in enumerate(self.monitors):
            name, output = ("*MAIN", "screen") if index == 0 else (f"SIDE{index}", "none")
            # Physical sizes in millimetres at about 96 dpi.
            geometry = f"{w}/{w * 254 // 960}x{h}/{h * 254 // 960}+{x}+{y}"
            self.run(["xrandr", "--setmonitor", name, geometry, output])
        # A kept-alive wineserver stays bound to the display and layout it started with.
        self.run(["wineserver", "-k"], check=False)
        return self

    def __exit__(self, *exc):
        self.run(["wineserver", "-k"], check=False)
        self.server.terminate()
        self.server.wait(timeout=10)

    def run(self, command, check=True, timeout=30, env_extra=None):
        env = dict(self.env, **(env_extra or {}))
        result = subprocess.run(command, env=env, capture_output=True, text=True, timeout=timeout)
        if check and result.returncode != 0:
            raise RuntimeError(f"{command} failed: {result.stderr}")
        return result

    def start_saver(self, *arguments, env_extra=None):
        env = dict(self.env, **(env_extra or {}))
        return subprocess.Popen(["wine", SCR, *arguments], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def saver_windows(self, name="^Orvane$", wait=True, timeout=30):
        """X window ids of visible windows with the given title, waiting for at least one."""
        command = ["xdotool", "search", "--onlyvisible", "--name", name]
        if wait:
            command.insert(2, "--sync")
        try:
            result = self.run(command, check=False, timeout=timeout)
        except subprocess.TimeoutExpired:
            return []
        return [line for line in result.stdout.split() if line.strip()]

    def wait_for_windows(self, count, name="^Orvane$", timeout=30):
        """The visible windows with the title once there are `count` of them (or what there is at timeout)."""
        deadline = time.time() + timeout
        windows = self.saver_windows(name, timeout=timeout)
        while len(windows) < count and time.time() < deadline:
            time.sleep(0.2)
            windows = self.saver_windows(name, wait=False)
        return windows

    def geometry(self, window):
        """(x, y, width, height) of an X window in root coordinates."""
        values = {}
        for line in self.run(["xdotool", "getwindowgeometry", "--shell", window]).stdout.splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def key(self, window, key="space"):
        self.run(["xdotool", "windowfocus", "--sync", window, "key", key])

    def xdotool(self, *arguments):
        self.run(["xdotool", *arguments])

    def screenshot(self):
        with tempfile.NamedTemporaryFile(suffix=".ppm") as shot:
            self.run(["import", "-window", "root", "-depth", "8", shot.name], timeout=60)
            return Image.open(shot.name).convert("RGB")


def wait_exit(process, timeout=15):
    """The process's exit code, or None if it is still running after timeout seconds."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        return None


def still_running_after(process, seconds):
    time.sleep(seconds)
    return process.poll() is None


def stop(process):
    if process.poll() is None:
        process.kill()
        process.wait()


def log_files():
    prefix = os.environ.get("WINEPREFIX", str(Path.home() / ".wine"))
    users = os.path.join(prefix, "drive_c", "users", "*")
    # Wine's temporary directory is C:\users\<name>\Temp (older prefixes: AppData\Local\Temp).
    return glob.glob(os.path.join(users, "Temp", LOG_NAME)) + glob.glob(
        os.path.join(users, "AppData", "Local", "Temp", LOG_NAME))


def clear_log():
    for path in log_files():
        os.remove(path)


def read_log():
    """The diagnostic log's lines, or None when no log file exists."""
    files = log_files()
    if not files:
        return None
    with open(files[0], "rb") as handle:
        return handle.read().decode("latin-1").split("\r\n")[:-1]


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")
