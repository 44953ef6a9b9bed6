"""The real program's opt-in features: inspection, scrambles and the statistics window."""
import random
import re
import subprocess
import time
import unittest

from harness import App, result_seconds, wait_until, xdotool

INSPECTION_ON = ("[General Settings]\r\nCountdown=Enabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
                 "Inspection=Enabled\r\n")


def sleep_until(moment):
    time.sleep(max(0.0, moment - time.monotonic()))


PLUS_TWO_RE = re.compile(r"Result: (\d\d):(\d\d):(\d\d):(\d\d) \(\+2\)$")


class Inspection(unittest.TestCase):
    def test_a_start_inside_fifteen_seconds_logs_a_plain_line_timed_from_that_start(self):
        with App(prepare=lambda a: a.write("Setting.ini", INSPECTION_ON)) as app:
            app.start()
            idle = app.display()
            app.key("space")  # inspection, not the countdown
            began = time.monotonic()
            sleep_until(began + 0.4)
            fifteen = app.display()
            sleep_until(began + 1.4)
            fourteen = app.display()
            app.screenshot("inspection")
            self.assertEqual(len({idle, fifteen, fourteen}), 3, "no inspection digit counting down on screen")
            sleep_until(began + 2.5)
            app.key("space")  # timing starts at once
            started = time.monotonic()
            time.sleep(1.0)
            app.key("space")
            stopped = time.monotonic()
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 10))
            line = app.result_lines()[0]
            self.assertRegex(line, r"Result: \d\d:\d\d:\d\d:\d\d$", "no penalty suffix")
            # Timed from the second Space: about 1.0 s, where timing from the first would
            # log 2.5 s and a countdown would log nothing yet.
            self.assertLess(abs(result_seconds(line) - (stopped - started)), 0.25, line)

    def test_a_start_after_fifteen_seconds_is_logged_two_seconds_longer_and_marked(self):
        with App(prepare=lambda a: a.write("Setting.ini", INSPECTION_ON)) as app:
            app.start()
            app.key("space")
            began = time.monotonic()
            sleep_until(began + 14.4)
            one = app.display()
            sleep_until(began + 15.6)
            plus_two = app.display()
            app.screenshot("inspection-plus-two")
            self.assertNotEqual(one, plus_two, "the digit did not turn to +2 at fifteen seconds")
            sleep_until(began + 16.0)  # a second inside either limit
            app.key("space")
            started = time.monotonic()
            time.sleep(1.0)
            app.key("space")
            stopped = time.monotonic()
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 10))
            line = app.result_lines()[0]
            m = PLUS_TWO_RE.search(line)
            self.assertTrue(m, f"no +2 mark: {line}")
            h, mi, sec, cs = map(int, m.groups())
            logged = h * 3600 + mi * 60 + sec + cs / 100.0
            self.assertLess(abs(logged - (stopped - started + 2.0)), 0.25, line)


COUNTDOWN_OFF = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"


def seeded_log(count, seed=7):
    rng = random.Random(seed)
    lines = []
    for i in range(count):
        cs = max(900, int(rng.gauss(2400, 350)))
        lines.append(f"#Date: 01/12/2026 | Time: 10:{i // 60 % 60:02}:{i % 60:02} | "
                     f"Result: 00:00:{cs // 100:02}:{cs % 100:02}")
    return "".join(line + "\r\n" for line in lines)


def clipboard_text():
    """The X clipboard, which Wine keeps in step with the Windows one."""
    out = subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True, text=True,
                         timeout=10, check=False)
    return out.stdout


def overlap(a, b):
    return a.x < b.x + b.width and b.x < a.x + a.width and a.y < b.y + b.height and b.y < a.y + a.height


SCRAMBLE_RE = re.compile(r"^[URFDLB][2']?( [URFDLB][2']?){0,20}$")


def copied_scramble(app, unlike):
    """The scramble Ctrl+C copies once it is another than `unlike`, or "" after a while."""
    def copied():
        app.key("ctrl+c")
        text = clipboard_text()
        return text if SCRAMBLE_RE.match(text) and text != unlike else ""
    return wait_until(copied, 20, step=0.1)


class Scrambles(unittest.TestCase):
    def test_the_row_shows_a_scramble_a_stop_brings_the_next_and_off_leaves_the_window_as_it_was(self):
        with App(prepare=lambda a: a.write("Setting.ini", COUNTDOWN_OFF)) as app:
            app.start()
            plain = app.geometry(app.main)
            app.quit()

        with App(prepare=lambda a: a.write("Setting.ini", COUNTDOWN_OFF + "Show Scramble=Enabled\r\n")) as app:
            stale = clipboard_text()
            app.start()
            grown = app.geometry(app.main)
            self.assertEqual((grown.width, grown.height - plain.height), (plain.width, 32))
            # Ctrl+C copies nothing until the worker has built its tables and the first
            # scramble shows: asked until it does.
            first = copied_scramble(app, unlike=stale)
            self.assertRegex(first, SCRAMBLE_RE)
            app.screenshot("scramble-row")
            app.key("space")
            time.sleep(0.5)
            app.key("space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 10))
            # The solve's line names the scramble shown for it.
            self.assertRegex(app.result_lines()[0], r"Result: \d\d:\d\d:\d\d:\d\d \| Scramble: ")
            self.assertTrue(app.result_lines()[0].endswith(" | Scramble: " + first), app.result_lines())
            second = copied_scramble(app, unlike=first)
            self.assertRegex(second, SCRAMBLE_RE)
            app.quit()


def statistics_windows(app):
    # xdotool's title search is loose about the "|": titles are compared here.
    return [w for w in app.windows("Twistwatch") if app.title(w) == "Twistwatch | Statistics"]


class Statistics(unittest.TestCase):
    def test_f3_opens_it_beside_the_timer_and_a_real_solve_shows_up(self):
        def prepare(app):
            app.write("Setting.ini", COUNTDOWN_OFF)
            app.write("Result.lst", seeded_log(300))

        with App(prepare=prepare) as app:
            app.start()
            stats = app.press_once(app.main, "F3", lambda: statistics_windows(app), "the statistics window")[-1]
            self.assertFalse(overlap(app.geometry(app.main), app.geometry(stats)), "it covers the timer")
            # Shown without taking the activation: the timer keeps the keys.
            self.assertTrue(app.caption_active(app.main))
            app.key("space")
            time.sleep(1.3)
            app.key("space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 301, 10))
            solved = result_seconds(app.result_lines()[-1])
            app.screenshot("statistics")

            # A user clicks it to give it the keys (it never takes them by itself).
            g = app.geometry(stats)
            xdotool("mousemove", g.x + g.width // 2, g.y + g.height - 20)
            xdotool("click", 1)
            self.assertTrue(wait_until(lambda: app.caption_active(stats), 5), "a click did not activate it")
            app.key("ctrl+c")
            table = wait_until(lambda: clipboard_text() if "single" in clipboard_text() else "", 5)
            self.assertIn("single", table)
            self.assertIn(f"{solved:.2f}", table.split("single", 1)[1].splitlines()[0], table)
            # Escape there acts as in the timer and gives the keys back to it.
            app.key("Escape")
            self.assertTrue(wait_until(lambda: not statistics_windows(app), 5))
            self.assertTrue(wait_until(lambda: app.caption_active(app.main), 5))
            app.quit()


if __name__ == "__main__":
    unittest.main()
