"""Drives the real Twistwatch.exe under Wine and Xvfb for the end-to-end tests.

Each run copies the ready-to-run folder into a fresh temp folder, starts the
program there and talks to it only as a user would: keys and mouse through
xdotool, files on disk, window geometry and screenshots of the X screen.
"""
import os
import re
import shutil
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DIST = os.environ.get("TW_DIST", os.path.join(ROOT, "build", "windows", "dist"))
SHOTS = os.environ.get("TW_SHOTS", os.path.join(ROOT, "build", "screenshots", "e2e"))
WINE = "/usr/lib/wine/wine64"


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEPREFIX", os.path.join(os.environ.get("HOME", "/root"), ".cache", "twistwatch", "wine"))
    env["WINEDEBUG"] = "-all"
    env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winealsa.drv,winepulse.drv=d"
    return env


def xdotool(*args, check=True, timeout=20):
    out = subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=timeout,
                         env=wine_env())
    if check and out.returncode != 0:
        raise RuntimeError(f"xdotool {' '.join(map(str, args))}: {out.stderr.strip()}")
    return out.stdout.strip()


def wait_until(predicate, timeout=15.0, step=0.05):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(step)
    return predicate()


class Geometry:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"Geometry(x={self.x}, y={self.y}, w={self.width}, h={self.height})"


class App:
    """One run of the program in its own copy of the ready-to-run folder."""

    def __init__(self, prepare=None):
        self.folder = tempfile.mkdtemp(prefix="tw-e2e-")
        for name in os.listdir(DIST):
            shutil.copy2(os.path.join(DIST, name), self.folder)
        if prepare:
            prepare(self)
        self.proc = None

    # Files of the application folder.
    def path(self, name):
        return os.path.join(self.folder, name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("ascii"))

    def exists(self, name):
        return os.path.exists(self.path(name))

    def result_lines(self):
        if not self.exists("Result.lst"):
            return []
        return self.read("Result.lst").decode("latin-1").split("\r\n")[:-1]

    # The process.
    def start(self, wait_for_window=True):
        self.proc = subprocess.Popen([WINE, self.path("Twistwatch.exe")], cwd=self.folder, env=wine_env(),
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        if wait_for_window:
            self.main = self.wait_window("^Twistwatch$")
            self.focus(self.main)
        return self

    def wait_window(self, title_regex, timeout=20.0):
        def find():
            # Only this run's windows: a window of an earlier run may still be closing.
            out = xdotool("search", "--onlyvisible", "--pid", self.proc.pid, "--name", title_regex, check=False)
            ids = [line for line in out.splitlines() if line.strip()]
            return ids[-1] if ids else None

        wid = wait_until(find, timeout)
        if not wid:
            raise AssertionError(f"no window titled {title_regex!r} appeared")
        return wid

    def windows(self, title_regex):
        out = xdotool("search", "--onlyvisible", "--pid", self.proc.pid, "--name", title_regex, check=False)
        return [line for line in out.splitlines() if line.strip()]

    def focus(self, wid):
        xdotool("windowfocus", "--sync", wid, check=False)
        time.sleep(0.15)

    def key(self, *keys, delay_ms=30):
        xdotool("key", "--delay", delay_ms, *keys)

    def key_down(self, key):
        xdotool("keydown", key)

    def key_up(self, key):
        xdotool("keyup", key)

    def geometry(self, wid):
        out = xdotool("getwindowgeometry", "--shell", wid)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return Geometry(int(values["X"]), int(values["Y"]), int(values["WIDTH"]), int(values["HEIGHT"]))

    def drag(self, wid, grab_dx, grab_dy, to_x, to_y, steps=12):
        """Drags a window by the point (grab_dx, grab_dy) from its top-left corner."""
        g = self.geometry(wid)
        sx, sy = g.x + grab_dx, g.y + grab_dy
        xdotool("mousemove", sx, sy)
        time.sleep(0.1)
        xdotool("mousedown", 1)
        time.sleep(0.2)
        tx, ty = to_x + grab_dx, to_y + grab_dy
        for i in range(1, steps + 1):
            xdotool("mousemove", sx + (tx - sx) * i // steps, sy + (ty - sy) * i // steps)
            time.sleep(0.05)
        time.sleep(0.2)
        xdotool("mouseup", 1)
        time.sleep(0.3)

    def screenshot(self, name):
        os.makedirs(SHOTS, exist_ok=True)
        target = os.path.join(SHOTS, name + ".png")
        subprocess.run(["import", "-window", "root", target], env=wine_env(), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return target

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=15.0):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def close(self):
        """Closes the main window as a user does, then makes sure the process is gone."""
        if self.running():
            try:
                self.focus(self.main)
                self.key("alt+F4")
            except Exception:  # noqa: BLE001 - the window may already be gone
                pass
            if self.wait_exit(10) is None:
                self.proc.kill()
                self.proc.wait(10)

    def cleanup(self):
        self.close()
        shutil.rmtree(self.folder, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.cleanup()


RESULT_RE = re.compile(r"Result: (\d\d):(\d\d):(\d\d):(\d\d)$")


def result_seconds(line):
    m = RESULT_RE.search(line)
    if not m:
        raise AssertionError(f"not a result line: {line!r}")
    h, mi, s, cs = map(int, m.groups())
    return h * 3600 + mi * 60 + s + cs / 100.0
