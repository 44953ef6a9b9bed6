"""The result log survives the program being killed at any moment of a save."""
import glob
import os
import random
import signal
import subprocess
import time
import unittest

from harness import App, report, wait_until, wine_env

COUNTDOWN_OFF = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
HISTORY_LINES = 20_000
ROUNDS = 50
KILL_WINDOW_S = 0.060
# Kills that must land inside a save, for the rounds to have shown anything: a kill is
# inside one when the save's temporary file, "Result.lst.~<pid>-<n>.tmp", is left behind.
INSIDE_A_SAVE_AT_LEAST = 20


def history():
    return "".join(f"#Date: 01/02/2026 | Time: 10:{i // 60 % 60:02}:{i % 60:02} | Result: 00:00:{10 + i % 40:02}:{i % 100:02}\r\n"
                   for i in range(HISTORY_LINES))


# A stop sooner than 0.20 s after the start is taken for a bouncing key and ignored.
SOLVE_S = 0.25

class KilledWhileSaving(unittest.TestCase):
    def test_a_kill_at_any_moment_after_a_stop_leaves_the_old_log_or_the_new_one(self):
        rng = random.Random(20261210)
        outcomes = {"saved": 0, "kept": 0, "lost": 0, "torn": 0}
        inside = 0

        def prepare(app):
            app.write("Setting.ini", COUNTDOWN_OFF)
            app.write("Result.lst", history())

        with App(prepare=prepare) as app:
            before = app.read("Result.lst")
            for round_no in range(ROUNDS):
                app.start()
                app.key("space")
                time.sleep(SOLVE_S)
                # The stopping Space goes out without waiting for xdotool to end: the save
                # is over before xdotool's own process is.
                known = set(os.listdir(app.folder))
                temporary = set(glob.glob(app.path("Result.lst.~*.tmp")))
                sender = subprocess.Popen(["xdotool", "key", "space"], env=wine_env())
                if round_no % 3 == 2:
                    time.sleep(rng.uniform(0.0, KILL_WINDOW_S))
                else:
                    # Two kills in three land inside the save itself: as soon as the save's
                    # first file shows in the folder, or a moment later.
                    wait_until(lambda: set(os.listdir(app.folder)) != known, KILL_WINDOW_S, step=0.0001)
                    time.sleep(rng.uniform(0.0, 0.002))
                os.kill(app.proc.pid, signal.SIGKILL)
                sender.wait(10)
                app.proc.wait(10)
                if set(glob.glob(app.path("Result.lst.~*.tmp"))) - temporary:
                    inside += 1
                after = app.read("Result.lst") if app.exists("Result.lst") else b""
                if after == before:
                    outcomes["kept"] += 1
                elif not after.startswith(before):
                    outcomes["lost"] += 1  # old lines gone: a missing, emptied or shortened log
                elif after.endswith(b"\r\n") and after.count(b"\r\n") == before.count(b"\r\n") + 1:
                    outcomes["saved"] += 1
                else:
                    outcomes["torn"] += 1  # the old lines, then something that is not one whole line
                before = after
                # The killed program's windows must be gone before the next one starts.
                wait_until(lambda: not app.windows("^Twistwatch"), 10)

            report(f"killed while saving, {ROUNDS} rounds, {inside} inside a save: {outcomes['saved']} saved, "
                   f"{outcomes['kept']} kept, {outcomes['lost']} lost, {outcomes['torn']} torn")
            self.assertEqual((outcomes["lost"], outcomes["torn"]), (0, 0))
            self.assertGreater(outcomes["saved"], 0, "no stop reached the program: the test showed nothing")
            self.assertGreaterEqual(inside, INSIDE_A_SAVE_AT_LEAST, "too few kills landed inside a save to show anything")

            # The next run saves as usual, and clears what the killed ones left behind.
            app.start()
            app.key("space")
            time.sleep(SOLVE_S)
            app.key("space")
            self.assertTrue(wait_until(lambda: app.read("Result.lst").count(b"\r\n") == before.count(b"\r\n") + 1, 10))
            self.assertTrue(app.read("Result.lst").startswith(before))
            app.quit()
            self.assertEqual(glob.glob(app.path("Result.lst.~*")), [])


if __name__ == "__main__":
    unittest.main()
