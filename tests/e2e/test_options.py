"""The real program under Wine: the options window opened with F1, its panels, F2."""
import time
import unittest

from harness import App, bluish, pixels, wait_until, xdotool

RESULTS = "#1 first\r\n#2 second\r\n#3 third\r\n"
TWIPS_PER_PIXEL = 15  # at 96 DPI
CLIENT_WIDTH = 5895
ABOUT_CLIENT_HEIGHT = 5085
# Where lblURL1 (the home page link) and lblURL2 (the web site) lie in the client area,
# in twips: the About frame's offset (120, 600) plus their own.
HOME_LINK = (240, 600 + 2880, 5415, 255)
WEB_LINK = (240, 600 + 3480, 5415, 255)
CREDIT_LINE = (240, 600 + 2400, 5415, 255)


def settings(**keys):
    lines = "".join(f"{key.replace('_', ' ')}={value}\r\n" for key, value in keys.items())
    return "[General Settings]\r\n" + lines


COUNTDOWN_OFF = settings(Countdown="Disabled", Log_Result="Enabled")
# The Setup panel's client area: its 2445 of the layout grown by the Practice frame and its gap.
SETUP_CLIENT_HEIGHT = 2445 + 120 + 1935


def panel_is(app, wid, panel):
    return wait_until(lambda: app.title(wid) == f"Twistwatch | {panel}", 5)


def window_gone(app, wid):
    return wait_until(lambda: wid not in app.windows("^Twistwatch"), 5)


def blue_ink(rgb):
    """How many pixels are drawn in the links' blue."""
    return sum(1 for i in range(0, len(rgb), 3) if bluish(rgb[i], rgb[i + 1], rgb[i + 2]))


class Client:
    """The options window's client area on the screen, for a panel's client height in twips."""

    def __init__(self, app, wid, client_height):
        g = app.geometry(wid)
        width = CLIENT_WIDTH // TWIPS_PER_PIXEL
        border = (g.width - width) // 2  # the same frame at the sides and at the bottom
        self.x = g.x + border
        self.y = g.y + g.height - border - client_height // TWIPS_PER_PIXEL

    def box(self, twips):
        left, top, width, height = (v // TWIPS_PER_PIXEL for v in twips)
        return self.x + left, self.y + top, width, height

    def centre(self, twips):
        x, y, width, height = self.box(twips)
        return x + width // 2, y + height // 2


def click_close_button(app, wid):
    # Wine draws the caption's close button at the right end of the title bar.
    g = app.geometry(wid)
    xdotool("mousemove", g.x + g.width - 14, g.y + 12)
    xdotool("click", 1)


class Panels(unittest.TestCase):
    def test_f1_opens_on_about_and_exit_remembers_the_panel_but_the_title_bar_does_not(self):
        with App() as app:
            app.start()
            wid = app.open_options("About")
            g = app.geometry(wid)
            # The About panel's client area is 393 x 339 pixels, inside a frame of the system's own.
            self.assertGreaterEqual(g.width, 393)
            self.assertGreaterEqual(g.height, 339)
            app.screenshot("options-about")

            app.key("alt+s")
            self.assertTrue(panel_is(app, wid, "Setup"))
            app.screenshot("options-setup")
            app.key("alt+x")
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(app.setting("Last Frame"), "Setup")

            wid = app.open_options("Setup")
            app.key("alt+r")
            self.assertTrue(panel_is(app, wid, "Result"))
            app.key("alt+F4")
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(app.setting("Last Frame"), "Setup")
            app.open_options("Setup")

    def test_setup_switches_write_at_once_and_the_practice_ones_only_when_used(self):
        with App(prepare=lambda a: a.write("Setting.ini", settings(Countdown="Enabled", Last_Frame="Setup"))) as app:
            app.start()
            wid = app.open_options("Setup")
            for key in ("Show Scramble", "Inspection", "Any Key Stops", "Hold To Start"):
                self.assertIsNone(app.setting(key), "loading writes no key beyond the design")
            # The Setup frame as its table puts it, the Practice frame under it, Exit under that.
            g = app.geometry(wid)
            self.assertGreaterEqual(g.height, (SETUP_CLIENT_HEIGHT + 435 + 45) // TWIPS_PER_PIXEL - 8)
            app.screenshot("options-setup-practice")
            for key, name, value in (("alt+c", "Countdown", "Disabled"), ("alt+l", "Log Result", "Enabled"),
                                     ("alt+a", "Show Scramble", "Enabled"), ("alt+i", "Inspection", "Enabled"),
                                     ("alt+k", "Any Key Stops", "Enabled"), ("alt+a", "Show Scramble", "Disabled")):
                app.key(key)
                self.assertTrue(wait_until(lambda: app.setting(name) == value, 5), (key, app.setting(name)))
            # The label's access key reaches the drop-down list; each pick is written at once.
            app.key("alt+t", "Down", "Down")
            self.assertTrue(wait_until(lambda: app.setting("Hold To Start") == "300", 5),
                            app.setting("Hold To Start"))
            app.key("Escape")
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(app.setting("Last Frame"), "Setup")


class Focus(unittest.TestCase):
    def test_after_the_options_window_closes_space_times_a_solve_without_a_click(self):
        # Each way of closing leaves the main window active by itself: no click, no focus
        # request from outside, then Space and Space must log a solve.
        closings = (("Exit", lambda app, wid: app.key("alt+x")),
                    ("Alt+F4", lambda app, wid: app.key("alt+F4")),
                    ("close button", click_close_button))
        with App(prepare=lambda a: a.write("Setting.ini", COUNTDOWN_OFF)) as app:
            app.start()
            for logged, (how, close) in enumerate(closings, 1):
                with self.subTest(how):
                    wid = app.open_options("About")
                    close(app, wid)
                    self.assertTrue(window_gone(app, wid))
                    self.assertTrue(wait_until(lambda: app.caption_active(app.main), 5),
                                    f"after {how} the main window did not take the activation back")
                    app.key("space")
                    time.sleep(0.3)
                    app.key("space")
                    self.assertTrue(wait_until(lambda: len(app.result_lines()) == logged, 5), app.result_lines())


class ShowHour(unittest.TestCase):
    def test_f2_widens_the_main_window_and_keeps_it_centred(self):
        with App() as app:
            app.start()
            narrow = app.geometry(app.main)
            app.key("F2")
            self.assertTrue(wait_until(lambda: app.geometry(app.main).width == narrow.width + 184, 5),
                            app.geometry(app.main))
            self.assertEqual(app.setting("Show Hour"), "Enabled")
            wide = app.geometry(app.main)
            self.assertAlmostEqual(wide.x + wide.width / 2, narrow.x + narrow.width / 2, delta=2)
            self.assertEqual(app.options_windows(), [], "F2 loads the options window hidden")
            app.screenshot("main-show-hour")
            app.key("F2")
            self.assertTrue(wait_until(lambda: app.geometry(app.main).width == narrow.width, 5))
            self.assertEqual(app.setting("Show Hour"), "Disabled")


class Results(unittest.TestCase):
    def prepare(self, app):
        app.write("Setting.ini", settings(Last_Frame="Result"))
        app.write("Result.lst", RESULTS)

    def test_remove_and_reset_change_the_result_log(self):
        with App(prepare=self.prepare) as app:
            app.start()
            wid = app.open_options("Result")
            app.key("Tab")  # from the Result button, where the window opens, into the list
            app.key("Down", "Down")
            app.screenshot("options-result")
            app.key("Tab", "space")  # Remove Selected comes next, before Reset
            self.assertTrue(wait_until(lambda: app.result_lines() == ["#1 first", "#3 third"], 5),
                            app.result_lines())
            self.assertTrue(panel_is(app, wid, "Result"))

            app.key("alt+e")
            box = wait_until(lambda: [w for w in app.windows("^Twistwatch$") if w != app.main], 5)
            self.assertTrue(box, "the reset question should appear")
            app.screenshot("options-reset-question")
            app.key("Return")  # Yes is the default button
            self.assertTrue(wait_until(lambda: not app.exists("Result.lst"), 5))
            app.key("alt+x")
            self.assertTrue(window_gone(app, wid))


    def test_a_long_log_is_listed_and_a_remove_takes_the_chosen_line_only(self):
        lines = [f"#{i} solve" for i in range(1, 100001)]

        def prepare(app):
            app.write("Setting.ini", settings(Last_Frame="Result"))
            app.write("Result.lst", "".join(line + "\r\n" for line in lines))

        with App(prepare=prepare) as app:
            app.start()
            wid = app.open_options("Result")
            app.key("Tab")  # from the Result button into the list
            app.key("Down", "Down")
            app.screenshot("options-result-long-log")
            app.key("Tab", "space")  # Remove Selected
            expected = lines[:1] + lines[2:]
            self.assertTrue(wait_until(lambda: app.result_lines() == expected, 10), app.result_lines()[:3])
            app.key("alt+x")
            self.assertTrue(window_gone(app, wid))


class KeysThatDestroyNothing(unittest.TestCase):
    def test_alt_s_in_the_result_panel_switches_to_setup_and_removes_nothing(self):
        with App(prepare=lambda a: (a.write("Setting.ini", settings(Last_Frame="Result")),
                                    a.write("Result.lst", RESULTS))) as app:
            app.start()
            wid = app.open_options("Result")
            app.key("Tab", "Down", "Down")  # a line selected, the focus in the list
            app.key("alt+s")
            self.assertTrue(panel_is(app, wid, "Setup"))
            time.sleep(0.5)
            self.assertEqual(app.result_lines(), ["#1 first", "#2 second", "#3 third"])
            app.key("alt+r", "alt+m")  # Remove's own access key still removes the line
            self.assertTrue(wait_until(lambda: app.result_lines() == ["#1 first", "#3 third"], 5),
                            app.result_lines())
            app.key("ctrl+z")  # and Ctrl+Z brings it back
            self.assertTrue(wait_until(lambda: app.result_lines() == ["#1 first", "#2 second", "#3 third"], 5),
                            app.result_lines())
            app.key("Escape")
            self.assertTrue(window_gone(app, wid))

    def test_f1_during_a_solve_then_space_leaves_logging_on(self):
        with App(prepare=lambda a: a.write("Setting.ini", settings(Countdown="Disabled", Log_Result="Enabled",
                                                                    Last_Frame="Setup"))) as app:
            app.start()
            app.key("space")  # a solve starts
            time.sleep(0.3)
            wid = app.open_options("Setup")
            app.key("space")  # meant for the timer: it lands on the Setup button
            time.sleep(0.3)
            self.assertEqual(app.setting("Log Result"), "Enabled")
            self.assertTrue(panel_is(app, wid, "Setup"))
            app.key("Escape")
            self.assertTrue(window_gone(app, wid))
            self.assertTrue(wait_until(lambda: app.caption_active(app.main), 5))
            app.key("space")  # the solve stops and is logged
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())


class Links(unittest.TestCase):
    def test_the_link_under_the_pointer_is_emphasised_until_a_plain_surface(self):
        with App() as app:
            app.start()
            wid = app.open_options("About")
            client = Client(app, wid, ABOUT_CLIENT_HEIGHT)
            home, web = client.box(HOME_LINK), client.box(WEB_LINK)
            # The window's own background clears any emphasis: every link starts plain.
            xdotool("mousemove", client.x + 4, client.y + 4)
            time.sleep(0.3)
            plain_home, plain_web = pixels(*home), pixels(*web)
            self.assertGreater(blue_ink(plain_home), 0, "the home page link should be on the screen")

            xdotool("mousemove", *client.centre(HOME_LINK))
            self.assertTrue(wait_until(lambda: pixels(*home) != plain_home, 5), "the link did not change")
            # Bold and underlined: more of the link's blue than the plain text has.
            self.assertGreater(blue_ink(pixels(*home)), blue_ink(plain_home) * 5 // 4)
            self.assertEqual(pixels(*web), plain_web, "only the link under the pointer is emphasised")
            app.screenshot("options-about-hover")

            xdotool("mousemove", *client.centre(CREDIT_LINE))
            self.assertTrue(wait_until(lambda: pixels(*home) == plain_home, 5), "the credit line clears it")
            app.key("Escape")  # closes the window as Exit does
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(app.setting("Last Frame"), "About")


class Docking(unittest.TestCase):
    def test_the_options_window_snaps_beside_the_main_window(self):
        with App() as app:
            app.start()
            main = app.geometry(app.main)
            wid = app.open_options("About")
            g = app.geometry(wid)
            grab = (g.width // 2, 8)  # the title bar
            # Dropped 8 pixels right of the main window's right edge, overlapping it vertically.
            app.drag(wid, *grab, main.x + main.width + 8, main.y + 20)
            moved = app.geometry(wid)
            self.assertEqual(moved.x, main.x + main.width, moved)
            self.assertEqual(moved.y, main.y + 20)
            app.screenshot("options-docked-beside-main")


if __name__ == "__main__":
    unittest.main()
