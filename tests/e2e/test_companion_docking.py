"""The real program under Wine: a Megaminx session's seven scramble lines make the timer
grow while the statistics window is open beside it; the statistics move with the timer,
so every line stays in sight, and the scramble picture opens where neither is."""
import time
import unittest

from harness import App, wait_until, xdotool

SETTINGS = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
            "Show Scramble=Enabled\r\nSessions=1,2\r\nSession 2 Name=Megaminx\r\nSession 2 Event=minx\r\n"
            "Current Session=2\r\nStatistics=Shown\r\n")
TIMER = r"^Twistwatch [^|]+Megaminx$"
STATS = r"^Twistwatch \| Statistics"
PICTURE = r"^Twistwatch \| Scramble$"
# The timer window's first outer height at 96 DPI (2295 twips of client, the frame): a
# Megaminx scramble's rows make it much taller.
DESIGNED_HEIGHT = 185


def apart(a, b):
    return (a.x + a.width <= b.x or b.x + b.width <= a.x or
            a.y + a.height <= b.y or b.y + b.height <= a.y)


def screen_size():
    out = xdotool("getdisplaygeometry")
    width, height = out.split()
    return int(width), int(height)


class CompanionDocking(unittest.TestCase):
    def test_a_megaminx_scramble_stays_in_sight_with_the_statistics_open(self):
        with App(prepare=lambda a: a.write("Setting.ini", SETTINGS)) as app:
            app.start(wait_for_window=False)
            # xdotool reads "\|" as "or": Python's regex picks the window by its whole title.
            self.assertTrue(wait_until(lambda: app.titled(TIMER) and app.titled(STATS), 20), "no windows")
            app.main, stats = app.titled(TIMER)[0], app.titled(STATS)[0]
            # The scramble comes from the worker; the timer grows when it is shown.
            self.assertTrue(wait_until(lambda: app.geometry(app.main).height > DESIGNED_HEIGHT + 100, 20),
                            app.geometry(app.main))
            time.sleep(0.5)
            app.screenshot("companion-megaminx-statistics")
            timer, figures = app.geometry(app.main), app.geometry(stats)
            self.assertTrue(apart(timer, figures), (timer, figures))
            width, height = screen_size()
            self.assertLessEqual(timer.y + timer.height, height, "the scramble's last lines run off the screen")
            self.assertLessEqual(figures.y + figures.height, height, figures)
            self.assertTrue(app.caption_active(app.main), "the timer keeps the keyboard")

            # A solve: a new scramble, the timer keeps its size, the statistics their place.
            app.focus(app.main)
            xdotool("key", "space", "sleep", 0.4, "key", "space")
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 1, 5), "the solve was not logged")
            time.sleep(1.0)
            self.assertTrue(apart(app.geometry(app.main), app.geometry(stats)))

            app.key("F4")
            self.assertTrue(wait_until(lambda: app.titled(PICTURE), 10), "no scramble window")
            time.sleep(0.5)
            app.screenshot("companion-megaminx-picture")
            picture = app.geometry(app.titled(PICTURE)[0])
            timer, figures = app.geometry(app.main), app.geometry(stats)
            self.assertTrue(apart(picture, timer), (picture, timer))
            self.assertTrue(apart(picture, figures), (picture, figures))
            self.assertEqual(app.quit(), 0)


if __name__ == "__main__":
    unittest.main()
