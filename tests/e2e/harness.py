"""Drives the real Twistwatch.exe under Wine and Xvfb for the end-to-end tests.

Each run copies the ready-to-run folder into a fresh temp folder, starts the
program there and talks to it only as a user would: keys and mouse through
xdotool, files on disk, window geometry and screenshots of the X screen.
"""
import hashlib
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DIST = os.environ.get("TW_DIST", os.path.join(ROOT, "build", "windows", "dist"))
SHOTS = os.environ.get("TW_SHOTS", os.path.join(ROOT, "build", "screenshots", "e2e"))
WINE = "/usr/lib/wine/wine64"
# A program that closes takes well under a second under Wine; five leave room for a loaded machine.
PROMPT_EXIT_S = 5.0
# The title of the dialog Wine's debugger shows when a program crashes.
CRASH_DIALOG_TITLE = "^Program Error$"
CAPTION_ROW = 6  # a row of pixels inside the title bar that Wine paints, below its top border


# Figures a test reports for the closing summary, beside its pass or failure.
FINDINGS = []


def report(line):
    FINDINGS.append(line)
    print("\n" + line, flush=True)


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


def pixels(x, y, width, height):
    """The screen's pixels in a rectangle, as raw RGB bytes."""
    out = subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}", "-depth", "8",
                          "rgb:-"], capture_output=True, env=wine_env(), timeout=30)
    if out.returncode != 0 or len(out.stdout) != width * height * 3:
        raise RuntimeError(f"could not read the screen: {out.stderr.decode(errors='replace').strip()}")
    return out.stdout


def bluish(r, g, b):
    return b > r + 60


class Geometry:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __repr__(self):
        return f"Geometry(x={self.x}, y={self.y}, w={self.width}, h={self.height})"


class App:
    """One run of the program in its own copy of the ready-to-run folder."""

    def __init__(self, prepare=None, folder_prefix="tw-e2e-", audio_env=None):
        """`audio_env`: the variables that reach a PulseAudio daemon of the test's own; with
        them Wine's PulseAudio driver is enabled for this run (it is off for every other)."""
        self.audio_env = audio_env
        self.folder = tempfile.mkdtemp(prefix=folder_prefix)
        for name in os.listdir(DIST):
            shutil.copy2(os.path.join(DIST, name), self.folder)
        if prepare:
            prepare(self)
        self.proc = None
        self.main = None
        self.ended = None  # how the process ended, for a test that wants to know
        self.crashes_before = set()

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

    def result_lines(self, name="Result.lst"):
        """A result log's lines (a session's log by its file name); none while it does not exist."""
        if not self.exists(name):
            return []
        return self.read(name).decode("latin-1").split("\r\n")[:-1]

    def setting(self, key):
        """A key's value in Setting.ini, or None while the key is not there."""
        for line in self.read("Setting.ini").decode("latin-1").split("\r\n"):
            if line.startswith(key + "="):
                return line[len(key) + 1:]
        return None

    # The process.
    def start(self, wait_for_window=True):
        self.crashes_before = set(self.all_crash_dialogs())
        env = wine_env()
        if self.audio_env:
            env.update(self.audio_env)
            env["WINEDLLOVERRIDES"] = "mscoree,mshtml=;winealsa.drv=d"
        self.proc = subprocess.Popen([WINE, self.path("Twistwatch.exe")], cwd=self.folder, env=env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        if wait_for_window:
            # The timer's caption may carry a note ("Twistwatch — results not saved"); the
            # companion windows' captions go on with " | ". The pattern is xdotool's too.
            self.main = self.wait_window("^Twistwatch($| — )")
            self.focus(self.main)
        return self

    def wait_window(self, title_regex, timeout=20.0):
        def find():
            # Only this run's windows: a window of an earlier run may still be closing.
            # xdotool finds windows of the process or of the name: the whole title is
            # checked here, or a companion window restored at the start passes for the timer.
            ids = self.titled(title_regex)
            return ids[-1] if ids else None

        wid = wait_until(find, timeout)
        if not wid:
            raise AssertionError(f"no window titled {title_regex!r} appeared")
        return wid

    def windows(self, title_regex=""):
        """This run's visible windows, by title; without a title, all of them, menus included."""
        out = xdotool("search", "--onlyvisible", "--pid", self.proc.pid, "--name", title_regex, check=False)
        return [line for line in out.splitlines() if line.strip()]

    def titled(self, title_regex):
        """This run's visible windows whose whole title matches (xdotool's search by
        process and name finds windows that match either)."""
        return [w for w in self.windows(title_regex) if re.search(title_regex, self.title(w))]

    def caption_active(self, wid):
        """Whether Wine paints the window's caption as active: it has taken the activation
        and so the keyboard focus, which the X focus alone does not show."""
        g = self.geometry(wid)
        row = pixels(g.x, g.y + CAPTION_ROW, g.width, 1)
        blue = sum(1 for i in range(0, len(row), 3) if bluish(row[i], row[i + 1], row[i + 2]))
        return blue > g.width // 2

    def x_focus(self):
        return xdotool("getwindowfocus", check=False)

    def focus(self, wid, timeout=5.0):
        """Gives the window the X focus and waits until Wine has made it the active window.

        Keys sent in between go to the window Wine still thinks is active, and are lost
        there: waiting for the activation, not sending again, is what makes a key land.
        A message box of the start-up, shown before the main window, is never painted
        active by Wine, yet takes the keys of the X focus. Returns whether the window
        became active.
        """
        xdotool("windowfocus", "--sync", wid, check=False)
        if self.main is None:
            return bool(wait_until(lambda: self.x_focus() == wid, timeout, step=0.05))
        return bool(wait_until(lambda: self.caption_active(wid), timeout, step=0.05))

    def wait_focus(self, wid, timeout=5.0):
        if not self.focus(wid, timeout):
            raise AssertionError(f"window {wid} ({self.title(wid)!r}) did not become the active window")

    def press_once(self, wid, key, happened, what, timeout=5.0):
        """Presses a key once in an active window and waits for its effect; a key that has to
        be pressed twice is a fault of the program (or of the harness), never retried."""
        self.wait_focus(wid)
        self.key(key)
        value = wait_until(happened, timeout)
        if not value:
            raise AssertionError(f"one {key} in the active window: {what} did not happen")
        return value

    def title(self, wid):
        return xdotool("getwindowname", wid, check=False)

    def options_windows(self, panel=None):
        """The visible windows titled as the options window, optionally on one panel."""
        # xdotool's own title search is loose about the "|", so titles are compared here.
        panels = [panel] if panel else ["Setup", "Result", "About"]
        wanted = [f"Twistwatch | {p}" for p in panels]
        return [w for w in self.windows("Twistwatch") if self.title(w) in wanted]

    def open_options(self, panel):
        """F1 in the active main window, once: the options window must open on the panel."""
        found = self.press_once(self.main, "F1", lambda: self.options_windows(panel),
                                f"the options window on {panel}")
        wid = found[-1]
        self.wait_focus(wid)  # the modal window takes the activation itself
        return wid

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

    def display(self):
        """A digest of the main window's digit row as drawn (its client area, without the
        title bar): equal digests, equal pictures."""
        g = self.geometry(self.main)
        top = g.height // 4  # below the caption: the digits fill the rest
        return hashlib.sha1(pixels(g.x, g.y + top, g.width, g.height - top)).hexdigest()

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

    @staticmethod
    def all_crash_dialogs():
        out = xdotool("search", "--onlyvisible", "--name", CRASH_DIALOG_TITLE, check=False)
        return [line for line in out.splitlines() if line.strip()]

    def crash_dialogs(self):
        """The crash dialogs shown since this run started: Wine's debugger shows one in a
        process of its own, which waits for a person and outlives the program."""
        return [w for w in self.all_crash_dialogs() if w not in self.crashes_before]

    def dismiss_crash_dialogs(self):
        for wid in self.crash_dialogs():
            pid = xdotool("getwindowpid", wid, check=False)
            if pid.isdigit():
                os.kill(int(pid), signal.SIGTERM)

    def quit(self):
        """Alt+F4 in the active main window: the program must end at once, cleanly.

        Returns the exit code, which must be 0; a program that hangs, asks or crashes fails.
        """
        self.wait_focus(self.main)
        self.key("alt+F4")
        code = self.wait_exit(PROMPT_EXIT_S)
        crashes = self.crash_dialogs()
        if crashes:
            titles = [self.title(w) for w in crashes]
            self.dismiss_crash_dialogs()
            raise AssertionError(f"a crash dialog appeared: {titles}")
        if code is None:
            titles = [self.title(w) for w in self.windows(".")]
            raise AssertionError(f"still running {PROMPT_EXIT_S} s after Alt+F4; its windows: {titles}")
        if code != 0:
            raise AssertionError(f"ended with exit code {code} after Alt+F4")
        self.ended = "exit code 0"
        return code

    def close(self):
        """Closes the main window as a user does, then makes sure the process is gone.

        Only the clean-up after a test: a test that cares how the program ends calls quit().
        """
        if self.running():
            try:
                if self.main is not None:
                    self.focus(self.main, timeout=2.0)
                self.key("alt+F4")
            except Exception:  # noqa: BLE001 - the window may already be gone
                pass
            code = self.wait_exit(PROMPT_EXIT_S)
            if code is None:
                self.proc.kill()
                self.proc.wait(10)
                self.ended = "killed"
            else:
                self.ended = f"exit code {code}"

    def cleanup(self):
        self.close()
        self.dismiss_crash_dialogs()
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
