"""The real program under Wine: the options window opened with F1, its panels, F2."""
import time
import unittest

from harness import App, wait_until, xdotool

RESULTS = "#1 first\r\n#2 second\r\n#3 third\r\n"


def settings(**keys):
    lines = "".join(f"{key.replace('_', ' ')}={value}\r\n" for key, value in keys.items())
    return "[General Settings]\r\n" + lines


def setting(app, key):
    for line in app.read("Setting.ini").decode("latin-1").split("\r\n"):
        if line.startswith(key + "="):
            return line[len(key) + 1:]
    return None


def title(wid):
    return xdotool("getwindowname", wid, check=False)


def options_windows(app, panel=None):
    """The visible windows titled as the options window, optionally on one panel."""
    # xdotool's own title search is loose about the "|", so titles are compared here.
    wanted = [f"Twistwatch | {panel}"] if panel else [f"Twistwatch | {p}" for p in ("Setup", "Result", "About")]
    return [w for w in app.windows("Twistwatch") if title(w) in wanted]


def open_options(app, panel):
    # A key sent while Wine is still taking the X focus can be lost; F1 again is harmless,
    # since the main window takes no keys once the options window is open.
    for _ in range(3):
        app.focus(app.main)
        app.key("F1")
        if wait_until(lambda: options_windows(app, panel), 5):
            break
    found = options_windows(app, panel)
    if not found:
        raise AssertionError(f"F1 did not open the options window on {panel}")
    wid = found[-1]
    app.focus(wid)  # the modal window takes the focus itself, but keys sent too soon still reach X's focus
    return wid


def panel_is(wid, panel):
    return wait_until(lambda: title(wid) == f"Twistwatch | {panel}", 5)


def window_gone(app, wid):
    return wait_until(lambda: wid not in app.windows("^Twistwatch"), 5)


class Panels(unittest.TestCase):
    def test_f1_opens_on_about_and_exit_remembers_the_panel_but_the_title_bar_does_not(self):
        with App() as app:
            app.start()
            wid = open_options(app, "About")
            g = app.geometry(wid)
            # The About panel's client area is 393 x 339 pixels, inside a frame of the system's own.
            self.assertGreaterEqual(g.width, 393)
            self.assertGreaterEqual(g.height, 339)
            app.screenshot("options-about")

            app.key("alt+s")
            self.assertTrue(panel_is(wid, "Setup"))
            app.screenshot("options-setup")
            app.key("alt+x")
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(setting(app, "Last Frame"), "Setup")

            wid = open_options(app, "Setup")
            app.key("alt+r")
            self.assertTrue(panel_is(wid, "Result"))
            app.key("alt+F4")
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(setting(app, "Last Frame"), "Setup")
            open_options(app, "Setup")

    def test_a_setup_click_writes_its_switch_at_once(self):
        with App(prepare=lambda a: a.write("Setting.ini", settings(Countdown="Enabled", Last_Frame="Setup"))) as app:
            app.start()
            open_options(app, "Setup")
            app.key("alt+c")
            self.assertTrue(wait_until(lambda: setting(app, "Countdown") == "Disabled", 5))
            app.key("alt+l")
            self.assertTrue(wait_until(lambda: setting(app, "Log Result") == "Enabled", 5))


class ShowHour(unittest.TestCase):
    def test_f2_widens_the_main_window_and_keeps_it_centred(self):
        with App() as app:
            app.start()
            narrow = app.geometry(app.main)
            app.key("F2")
            self.assertTrue(wait_until(lambda: app.geometry(app.main).width == narrow.width + 184, 5),
                            app.geometry(app.main))
            self.assertEqual(setting(app, "Show Hour"), "Enabled")
            wide = app.geometry(app.main)
            self.assertAlmostEqual(wide.x + wide.width / 2, narrow.x + narrow.width / 2, delta=2)
            self.assertEqual(options_windows(app), [], "F2 loads the options window hidden")
            app.screenshot("main-show-hour")
            app.key("F2")
            self.assertTrue(wait_until(lambda: app.geometry(app.main).width == narrow.width, 5))
            self.assertEqual(setting(app, "Show Hour"), "Disabled")


class Results(unittest.TestCase):
    def prepare(self, app):
        app.write("Setting.ini", settings(Last_Frame="Result"))
        app.write("Result.lst", RESULTS)

    def test_remove_and_reset_change_the_result_log(self):
        with App(prepare=self.prepare) as app:
            app.start()
            wid = open_options(app, "Result")
            app.key("Tab", "Tab")  # from Exit past the selected option button into the list
            app.key("Down", "Down")
            app.screenshot("options-result")
            app.key("Tab", "Tab", "space")  # past Reset to Remove Selected, last in the tab order
            self.assertTrue(wait_until(lambda: app.result_lines() == ["#1 first", "#3 third"], 5),
                            app.result_lines())
            self.assertTrue(panel_is(wid, "Result"))

            app.key("alt+e")
            box = wait_until(lambda: [w for w in app.windows("^Twistwatch$") if w != app.main], 5)
            self.assertTrue(box, "the reset question should appear")
            app.screenshot("options-reset-question")
            app.key("Return")  # Yes is the default button
            self.assertTrue(wait_until(lambda: not app.exists("Result.lst"), 5))
            app.key("alt+x")
            self.assertTrue(window_gone(app, wid))


class Links(unittest.TestCase):
    def test_the_link_under_the_pointer_is_emphasised(self):
        with App() as app:
            app.start()
            wid = open_options(app, "About")
            g = app.geometry(wid)
            # lblURL1 lies at twips (240, 3480) to (5655, 3735) of the client area, whose
            # 339 pixels end a 3-pixel border above the window's bottom.
            client_top = g.y + g.height - 3 - 339
            xdotool("mousemove", g.x + g.width // 2, client_top + 3607 // 15)
            time.sleep(0.4)
            app.screenshot("options-about-hover")
            app.key("Return")  # Exit has the focus when the About panel opens
            self.assertTrue(window_gone(app, wid))
            self.assertEqual(setting(app, "Last Frame"), "About")


if __name__ == "__main__":
    unittest.main()


class Docking(unittest.TestCase):
    def test_the_options_window_snaps_beside_the_main_window(self):
        with App() as app:
            app.start()
            main = app.geometry(app.main)
            wid = open_options(app, "About")
            g = app.geometry(wid)
            grab = (g.width // 2, 8)  # the title bar
            # Dropped 8 pixels right of the main window's right edge, overlapping it vertically.
            app.drag(wid, *grab, main.x + main.width + 8, main.y + 20)
            moved = app.geometry(wid)
            self.assertEqual(moved.x, main.x + main.width, moved)
            self.assertEqual(moved.y, main.y + 20)
            app.screenshot("options-docked-beside-main")
