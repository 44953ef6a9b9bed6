"""One copy of the program per folder: a second copy started there brings the first
forward and ends, so the two never save over each other's results."""
import ntpath
import subprocess
import time
import unittest

from harness import PROMPT_EXIT_S, WINE, App, wait_until, wine_env, xdotool

COUNTDOWN_OFF = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"


def countdown_off(app):
    app.write("Setting.ini", COUNTDOWN_OFF)


def dos_path(unix_path):
    """The path as Windows programs see it under Wine: drive Z: is the Unix root."""
    return "Z:" + unix_path.replace("/", "\\")


def start_beside(app):
    """Starts a program while another one shows a window of the same title: its own main
    window is told apart by its process (xdotool matches any one condition unless told all)."""
    app.start(wait_for_window=False)

    def own():
        out = xdotool("search", "--all", "--onlyvisible", "--pid", app.proc.pid, "--name", "^Twistwatch$",
                      check=False)
        return out.split()[-1] if out.split() else None

    app.main = wait_until(own, 20)
    if not app.main:
        raise AssertionError("no main window of its own appeared")
    app.wait_focus(app.main)


class SecondCopy(unittest.TestCase):
    def start_copy(self, app, exe_path):
        """Starts another copy of the program in `app`'s folder; returns its process."""
        return subprocess.Popen([WINE, exe_path], cwd=app.folder, env=wine_env(), stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def assert_steps_aside(self, copy, app, what):
        try:
            code = copy.wait(PROMPT_EXIT_S)
        except subprocess.TimeoutExpired:
            copy.kill()
            copy.wait(10)
            self.fail(f"{what} still ran {PROMPT_EXIT_S} s after it started")
        self.assertEqual(code, 0, what)
        self.assertTrue(app.running(), f"the first copy ended when {what} started")

    def solve(self, app, expected_lines):
        app.wait_focus(app.main)
        app.key("space")
        time.sleep(0.3)
        app.key("space")
        self.assertTrue(wait_until(lambda: len(app.result_lines()) == expected_lines, 5), app.result_lines())

    def test_a_second_copy_in_the_same_folder_brings_the_first_forward_and_ends(self):
        with App(prepare=countdown_off) as first, App(prepare=countdown_off) as elsewhere:
            first.start()
            self.solve(first, 1)
            logged = first.read("Result.lst")
            settings = first.read("Setting.ini")

            # A copy from another folder runs as usual, and takes the activation.
            start_beside(elsewhere)
            g = elsewhere.geometry(elsewhere.main)
            elsewhere.drag(elsewhere.main, g.width // 2, 10, g.x, g.y + g.height + 80)  # off the first one
            elsewhere.wait_focus(elsewhere.main)
            self.assertFalse(first.caption_active(first.main))

            copy = self.start_copy(first, first.path("Twistwatch.exe"))
            self.assert_steps_aside(copy, first, "a second copy in the same folder")
            self.assertTrue(wait_until(lambda: first.caption_active(first.main), 5),
                            "the first copy's window did not come forward")
            self.assertFalse(elsewhere.caption_active(elsewhere.main))
            self.assertEqual(first.read("Result.lst"), logged, "the second copy wrote to the log")
            self.assertEqual(first.read("Setting.ini"), settings, "the second copy wrote to the settings")

            # The folder's name written another way is still the same folder.
            shouted = ntpath.join(dos_path(first.folder).upper(), "TWISTWATCH.EXE")
            copy = self.start_copy(first, shouted)
            self.assert_steps_aside(copy, first, f"a copy started as {shouted}")

            # The first copy goes on logging, after the first result.
            self.solve(first, 2)
            self.assertTrue(first.read("Result.lst").startswith(logged))
            first.quit()
            self.assertTrue(elsewhere.running(), "the copy in the other folder ended")
            elsewhere.quit()
            self.assertFalse(elsewhere.exists("Result.lst"))


if __name__ == "__main__":
    unittest.main()
