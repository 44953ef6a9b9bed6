"""The log of record as the real program keeps it: a line another program adds while
Twistwatch runs survives its next save, and a long log's save never delays the next
start (the save runs beside the timer, not in its way)."""
import unittest

from harness import App, report, result_seconds, wait_until, xdotool

COUNTDOWN_OFF = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
# Years of solves; long enough that writing it on the UI thread (as a save once did)
# outlasts the 30 ms pause on this machine, so a start taken late shows.
LONG_LOG_LINES = 300_000
# The same pause twice, measured by the program: any start processed late shows.
SOLVE_S = 1.0
RESTART_AFTER_S = 0.03


def long_log(app):
    app.write("Setting.ini", COUNTDOWN_OFF)
    line = "#Date: 01/02/2025 | Time: 10:11:12 | Result: 00:00:15:27\r\n"
    app.write("Result.lst", line * LONG_LOG_LINES)


class OutsideChanges(unittest.TestCase):
    @staticmethod
    def solve(app):
        # Longer than a bouncing key's 0.20 s, which the timer ignores.
        xdotool("key", "space", "sleep", 0.3, "key", "space")

    def test_a_line_added_by_another_program_survives_the_next_solve(self):
        with App(prepare=lambda a: a.write("Setting.ini", COUNTDOWN_OFF)) as app:
            app.start()
            self.solve(app)
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())
            # A sync tool, a hand edit: another process appends while the program runs.
            with open(app.path("Result.lst"), "ab") as f:
                f.write(b"#Date: 24/12/2024 | Time: 08:00:00 | Result: 00:00:09:99\r\n")
            self.solve(app)
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 3, 5), app.result_lines())
            lines = app.result_lines()
            self.assertIn("24/12/2024", lines[1], lines)
            self.assertNotIn("24/12/2024", lines[0] + lines[2], lines)
            app.quit()


class LongLog(unittest.TestCase):
    def test_a_start_right_after_a_stop_is_timed_exactly_with_a_long_log(self):
        with App(prepare=long_log) as app:
            app.start()
            # One xdotool run, so the pauses between the key presses are its own sleeps:
            # solve A, a stop that saves the whole log, and solve B 30 ms after it.
            xdotool("key", "space", "sleep", SOLVE_S, "key", "space", "sleep", RESTART_AFTER_S,
                    "key", "space", "sleep", SOLVE_S, "key", "space", timeout=30)
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == LONG_LOG_LINES + 2, 15))
            lines = app.result_lines()
            first, second = result_seconds(lines[-2]), result_seconds(lines[-1])
            report(f"  {LONG_LOG_LINES:,}-line log: solve {first:.2f} s, the next started 30 ms after its stop {second:.2f} s")
            # Both pauses are the same sleep. A start taken late by a save makes the second
            # solve short: it may read one hundredth less (the one a pause straddles), never
            # more. (A loaded machine can delay xdotool's own keys either way; only the
            # direction the fault shows in is asserted.)
            self.assertLessEqual(round(first * 100) - round(second * 100), 1,
                                 "the start after the save was taken late")
            self.assertTrue(all(line.endswith("00:00:15:27") for line in lines[:LONG_LOG_LINES]))
            app.quit()


if __name__ == "__main__":
    unittest.main()
