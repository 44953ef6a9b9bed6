"""The real program under Wine: F4 shows the next scramble drawn in a window of its
own that never takes the timer's keys, F4 hides it, and the place it is dragged to is
where it comes back at the next start."""
import time
import unittest

from harness import App, wait_until, xdotool

SETTINGS = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
            "Show Scramble=Enabled\r\n")
TITLE = r"^Twistwatch \| Scramble$"


class ScramblePicture(unittest.TestCase):
    def test_f4_shows_the_scramble_drawn_and_the_timer_keeps_its_keys(self):
        with App(prepare=lambda a: a.write("Setting.ini", SETTINGS)) as app:
            app.start()
            time.sleep(2.0)  # the first scramble comes from the worker
            app.key("F4")
            self.assertTrue(wait_until(lambda: app.titled(TITLE), 10), "no scramble window")
            time.sleep(0.5)
            app.screenshot("scramble-picture")
            picture = app.titled(TITLE)[0]
            self.assertTrue(app.caption_active(app.main), "the timer keeps the keyboard")
            timer, drawn = app.geometry(app.main), app.geometry(picture)
            self.assertTrue(drawn.y >= timer.y + timer.height or drawn.x >= timer.x + timer.width
                            or drawn.x + drawn.width <= timer.x or drawn.y + drawn.height <= timer.y,
                            (timer, drawn))

            xdotool("key", "space", "sleep", 0.4, "key", "space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), "the solve was not logged")
            self.assertIn(" | Scramble: ", app.result_lines()[0])

            app.key("F4")
            self.assertTrue(wait_until(lambda: not app.titled(TITLE), 5), "F4 did not hide it")
            app.key("F4")
            self.assertTrue(wait_until(lambda: app.titled(TITLE), 5))
            # Dragged to a free place below the timer, it is there again at the next start.
            picture = app.titled(TITLE)[0]
            drawn, timer = app.geometry(picture), app.geometry(app.main)
            app.drag(picture, drawn.width // 2, 8, timer.x + 40, min(timer.y + timer.height + 120, 1024 - drawn.height))
            placed = app.geometry(picture)
            self.assertNotEqual((placed.x, placed.y), (drawn.x, drawn.y), "the drag did not move it")
            # The drag activated the picture; a click on the timer's title bar takes the activation back.
            xdotool("mousemove", timer.x + timer.width // 2, timer.y + 8, "click", 1)
            self.assertEqual(app.quit(), 0)
            self.assertEqual(app.setting("Scramble Picture"), "Shown")

            app.start()
            self.assertTrue(wait_until(lambda: app.titled(TITLE), 10), "not shown again at the start")
            again = app.geometry(app.titled(TITLE)[0])
            self.assertEqual((again.x, again.y, again.width, again.height),
                             (placed.x, placed.y, placed.width, placed.height))
            self.assertTrue(app.caption_active(app.main), "the timer keeps the keyboard")
            self.assertEqual(app.quit(), 0)


if __name__ == "__main__":
    unittest.main()
