"""The daily practice loop with real keys: hold to start with its ready light, any key
stops, a penalty set after the stop and taken back, and a double tap logs nothing."""
import time
import unittest

from harness import App, pixels, result_seconds, wait_until, xdotool

BASE = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
HOLD = BASE + "Hold To Start=550\r\n"


def settings(text):
    return lambda app: app.write("Setting.ini", text)


def digit_colours(app):
    """How many clearly red and clearly green pixels the digit row holds."""
    g = app.geometry(app.main)
    top = g.height // 4
    raw = pixels(g.x, g.y + top, g.width, g.height - top)
    red = green = 0
    for i in range(0, len(raw), 3):
        r, gr, b = raw[i], raw[i + 1], raw[i + 2]
        if r > 150 and gr < 80 and b < 80:
            red += 1
        elif gr > 120 and r < 80 and b < 80:
            green += 1
    return red, green


class HoldToStart(unittest.TestCase):
    def test_a_short_hold_starts_nothing_and_a_long_one_starts_at_the_release(self):
        with App(prepare=settings(HOLD)) as app:
            app.start()
            idle = app.display()
            # Held shorter than the delay: red while held, nothing starts.
            app.key_down("space")
            self.assertTrue(wait_until(lambda: digit_colours(app)[0] > 500, 2), "the digits did not turn red")
            app.key_up("space")
            time.sleep(0.5)
            self.assertEqual(app.display(), idle, "a short hold started the count")
            self.assertFalse(app.exists("Result.lst"))

            # Held past the delay: green; the release starts, a press stops.
            app.key_down("space")
            self.assertTrue(wait_until(lambda: digit_colours(app)[1] > 500, 3), "the digits did not turn green")
            app.screenshot("hold-ready")
            # One xdotool run: the time between the release and the stopping press is its sleep.
            xdotool("keyup", "space", "sleep", 1.0, "key", "space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())
            recorded = round(result_seconds(app.result_lines()[0]) * 100)
            self.assertLessEqual(abs(recorded - 100), 1, app.result_lines())
            self.assertEqual(digit_colours(app), (0, 0), "the digits kept a colour after the stop")
            app.quit()

    def test_any_key_stops_when_asked_and_a_double_tap_logs_nothing(self):
        with App(prepare=settings(BASE + "Any Key Stops=Enabled\r\n")) as app:
            app.start()
            xdotool("key", "--delay", 5, "space", "space")
            time.sleep(0.4)
            self.assertFalse(app.result_lines(), "a double tap logged a solve")
            xdotool("key", "a")  # the tap above is still timing: any key ends it
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())
            self.assertGreater(result_seconds(app.result_lines()[0]), 0.3)
            app.quit()


class AfterTheStop(unittest.TestCase):
    def test_a_penalty_set_and_taken_back_leaves_the_line_as_logged(self):
        with App(prepare=settings(BASE + "Any Key Stops=Enabled\r\n")) as app:
            app.start()
            app.key("space")
            time.sleep(0.5)
            app.key("space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5))
            logged = app.result_lines()[0]
            app.key("ctrl+2")
            self.assertTrue(wait_until(lambda: app.result_lines()[0].endswith(" (+2)"), 5), app.result_lines())
            plus_two = app.result_lines()[0]
            self.assertAlmostEqual(result_seconds(plus_two.removesuffix(" (+2)")), result_seconds(logged) + 2, 2)
            app.key("ctrl+z")
            self.assertTrue(wait_until(lambda: app.result_lines() == [logged], 5), app.result_lines())
            self.assertTrue(wait_until(lambda: "Ctrl+Y" in app.title(app.main), 3), app.title(app.main))
            app.key("ctrl+y")
            self.assertTrue(wait_until(lambda: app.result_lines() == [plus_two], 5), app.result_lines())
            app.key("ctrl+1")
            self.assertTrue(wait_until(lambda: app.result_lines() == [logged], 5), app.result_lines())
            # Mid-solve, with any key stopping, Ctrl+Z stops the solve and undoes nothing.
            app.key("space")
            time.sleep(0.5)
            app.key("ctrl+z")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 2, 5), app.result_lines())
            time.sleep(0.3)
            self.assertEqual(app.result_lines()[0], logged)
            self.assertEqual(len(app.result_lines()), 2, app.result_lines())
            app.quit()


if __name__ == "__main__":
    unittest.main()
