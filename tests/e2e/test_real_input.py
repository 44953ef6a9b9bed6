"""The real program under Wine, worked as a person works it: the display seen moving,
a solve through the options window and a window drag, a held Space, Alt+Space, the
font question answered Yes, and an application folder with spaces and accents."""
import os
import time
import unittest

from harness import App, result_seconds, wait_until, xdotool

COUNTDOWN_OFF = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
SETUP_COUNTDOWN_OFF = COUNTDOWN_OFF + "Last Frame=Setup\r\n"  # the Setup panel has no animation
# The recorded result comes from the clock at the stop; xdotool needs a few ms per key.
TIME_SLACK_S = 0.25
# Two looks at a running display this far apart are at least a hundredth apart.
LOOK_APART_S = 0.2


def countdown_off(app):
    app.write("Setting.ini", COUNTDOWN_OFF)


class Display(unittest.TestCase):
    def test_the_digits_move_while_timing_and_stand_still_after_the_stop(self):
        with App(prepare=countdown_off) as app:
            app.start()
            idle = app.display()
            app.key("space")
            looks = []
            for _ in range(3):
                time.sleep(LOOK_APART_S)
                looks.append(app.display())
            app.key("space")
            self.assertTrue(wait_until(lambda: app.result_lines(), 5))
            self.assertNotIn(idle, looks, "the display stayed at zero while timing")
            self.assertEqual(len(set(looks)), len(looks), "the display stood still while timing")
            stopped = app.display()
            time.sleep(LOOK_APART_S)
            self.assertEqual(app.display(), stopped, "the display moved on after the stop")
            self.assertNotEqual(stopped, idle)


class ModalAndDrag(unittest.TestCase):
    def test_a_solve_goes_on_through_the_options_window_and_its_drag(self):
        with App(prepare=lambda a: a.write("Setting.ini", SETUP_COUNTDOWN_OFF)) as app:
            app.start()
            main = app.geometry(app.main)
            # Out of the way of the options window, which opens centred on the screen.
            app.drag(app.main, main.width // 2, 10, 20, 20)
            app.wait_focus(app.main)
            app.key("space")
            started = time.monotonic()

            options = app.open_options("Setup")
            before = app.display()
            time.sleep(LOOK_APART_S)
            self.assertNotEqual(app.display(), before, "the display stood still under the options window")

            # A drag by the title bar, held while the display is looked at: the system's
            # move loop runs then, not the program's.
            g = app.geometry(options)
            grab_x, grab_y = g.x + g.width // 2, g.y + 8
            xdotool("mousemove", grab_x, grab_y)
            xdotool("mousedown", 1)
            try:
                for step in range(1, 4):
                    xdotool("mousemove", grab_x + 40 * step, grab_y + 30 * step)
                    time.sleep(0.1)
                during = app.display()
                xdotool("mousemove", grab_x + 160, grab_y + 120)
                time.sleep(LOOK_APART_S)
                self.assertNotEqual(app.display(), during, "the display stood still during the drag")
            finally:
                xdotool("mouseup", 1)
            self.assertGreater(app.geometry(options).x, g.x, "the drag did not move the options window")

            app.key("alt+x")
            self.assertTrue(wait_until(lambda: options not in app.windows("^Twistwatch"), 5))
            # Keys go back to the main window: one Space stops the solve begun before F1.
            app.press_once(app.main, "space", app.result_lines, "the stop of the solve")
            stopped = time.monotonic()
            lines = app.result_lines()
            self.assertEqual(len(lines), 1, lines)
            self.assertAlmostEqual(result_seconds(lines[0]), stopped - started, delta=TIME_SLACK_S)
            app.quit()


class HeldKeys(unittest.TestCase):
    def hold(self, app, key, seconds):
        """A real held key: the X server repeats it until it is let go. Returns when it went down."""
        app.key_down(key)
        pressed = time.monotonic()
        try:
            time.sleep(seconds)
        finally:
            app.key_up(key)
        return pressed

    def test_a_held_space_starts_or_stops_one_solve_and_its_repeats_do_nothing(self):
        with App(prepare=countdown_off) as app:
            app.start()
            started = self.hold(app, "space", 1.0)  # the X server repeats a key held over 0.66 s
            time.sleep(0.5)
            self.assertFalse(app.exists("Result.lst"), "a repeat stopped the solve")
            stopped = self.hold(app, "space", 1.0)
            self.assertTrue(wait_until(lambda: app.result_lines(), 5))
            time.sleep(0.3)
            lines = app.result_lines()
            self.assertEqual(len(lines), 1, lines)
            self.assertAlmostEqual(result_seconds(lines[0]), stopped - started, delta=TIME_SLACK_S)
            still = app.display()
            time.sleep(LOOK_APART_S)
            self.assertEqual(app.display(), still, "a repeat started a new solve")

    def test_alt_space_starts_and_stops_a_solve_without_opening_the_system_menu(self):
        with App(prepare=countdown_off) as app:
            app.start()
            windows = sorted(app.windows())
            app.key("alt+space")
            started = time.monotonic()
            time.sleep(0.6)
            self.assertEqual(sorted(app.windows()), windows, "Alt+Space opened a menu")
            app.key("alt+space")
            stopped = time.monotonic()
            self.assertTrue(wait_until(lambda: app.result_lines(), 5), "the second Alt+Space did not stop")
            lines = app.result_lines()
            self.assertEqual(len(lines), 1, lines)
            self.assertAlmostEqual(result_seconds(lines[0]), stopped - started, delta=TIME_SLACK_S)
            app.quit()


class StartUpAnswers(unittest.TestCase):
    def test_yes_to_the_font_question_starts_the_program_and_it_times(self):
        def without_font(app):
            countdown_off(app)
            os.remove(app.path("Digital-7.ttf"))

        with App(prepare=without_font) as app:
            app.start(wait_for_window=False)
            box = app.wait_window("^Twistwatch$")
            self.assertFalse(app.exists("Result.lst"))
            app.press_once(box, "y", lambda: box not in app.windows("^Twistwatch$"), "the question's close")
            app.main = app.wait_window("^Twistwatch$")
            app.wait_focus(app.main)
            app.screenshot("main-without-font")
            app.key("space")
            time.sleep(0.3)
            app.key("space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())
            app.quit()


class AppFolder(unittest.TestCase):
    def test_a_folder_with_spaces_and_accented_letters_keeps_its_files_there(self):
        # Letters of the ANSI code page: the program's paths are ANSI text by design.
        with App(folder_prefix="tw e2e Würfel Zeitmessung é ") as app:
            app.start()
            self.assertTrue(wait_until(lambda: app.exists("Setting.ini"), 5), os.listdir(app.folder))
            app.key("space")
            time.sleep(3.0 + 0.3)  # the countdown first
            app.key("space")
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), os.listdir(app.folder))
            self.assertEqual(sorted(os.listdir(app.folder)),
                             ["Beep.wav", "Digital-7.ttf", "Ding.wav", "Result.lst", "Setting.ini", "Twistwatch.exe"])
            app.quit()


if __name__ == "__main__":
    unittest.main()
