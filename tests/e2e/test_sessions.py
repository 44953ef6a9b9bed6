"""The real program under Wine: a session made in the options window gets the solves
timed while it is shown, with its own event's scrambles, and Ctrl+PageUp goes back to
the first session, each log holding exactly its own lines."""
import os
import time
import unittest

from harness import App, result_seconds, wait_until, xdotool

SETTINGS = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nLast Frame=Result\r\n"
            "Show Scramble=Enabled\r\n")
# The event's scrambles are drawn on a worker thread once its session is shown.
SCRAMBLE_READY_S = 3
FIRST_LINE = "#Date: 01/02/2025 | Time: 10:11:12 | Result: 00:00:15:27"


def scramble_of(line):
    return line.split(" | Scramble: ", 1)[1] if " | Scramble: " in line else ""


def solve(app, seconds):
    # Longer than a bouncing key's 0.20 s, which the timer ignores.
    app.wait_focus(app.main)
    xdotool("key", "space", "sleep", seconds, "key", "space")


class Sessions(unittest.TestCase):
    def test_a_new_session_logs_its_own_solves_and_ctrl_page_up_goes_back(self):
        def prepare(a):
            a.write("Setting.ini", SETTINGS)
            a.write("Result.lst", FIRST_LINE + "\r\n")

        with App(prepare=prepare) as app:
            app.start()
            options = app.open_options("Result")
            app.key("alt+n")
            box = wait_until(lambda: app.titled(r"^Twistwatch \| New Session$"), 10)
            self.assertTrue(box, "the New Session box did not open")
            app.wait_focus(box[-1])
            # The name has the focus; the event list takes its access key, and a letter
            # picks the first event it starts.
            xdotool("type", "--delay", 20, "2x2x2")
            app.key("alt+e", "2")
            app.screenshot("session-new")
            app.key("Return")
            self.assertTrue(wait_until(lambda: app.setting("Current Session") == "2", 5),
                            app.read("Setting.ini"))
            self.assertEqual(app.setting("Session 2 Name"), "2x2x2")
            self.assertEqual(app.setting("Session 2 Event"), "222")
            app.wait_focus(options)
            app.key("Escape")
            self.assertTrue(wait_until(lambda: not app.options_windows(), 5))

            time.sleep(SCRAMBLE_READY_S)
            app.screenshot("session-222-scramble")
            solve(app, 0.3)
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 1, 5),
                            app.result_lines("Result 2.lst"))
            in_new = app.result_lines("Result 2.lst")

            two = scramble_of(in_new[0])
            self.assertRegex(two, r"^[RUF]['2]?( [RUF]['2]?)+$", "a 2x2x2 scramble over R, U and F")
            # The statistics window names the session it counts, and follows the switch back.
            app.key("F3")
            self.assertTrue(wait_until(lambda: app.titled("^Twistwatch \\| Statistics \u2014 2x2x2$"), 10),
                            [app.title(w) for w in app.windows("Statistics")])
            app.screenshot("session-222-statistics")

            app.wait_focus(app.main)
            app.key("ctrl+Prior")
            self.assertTrue(wait_until(lambda: app.setting("Current Session") == "1", 5))
            self.assertTrue(wait_until(lambda: app.titled("^Twistwatch \\| Statistics$"), 10),
                            [app.title(w) for w in app.windows("Statistics")])
            time.sleep(SCRAMBLE_READY_S)
            solve(app, 0.8)  # told apart from the first by its time
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result.lst")) == 2, 5), app.result_lines("Result.lst"))
            in_first = app.result_lines("Result.lst")
            self.assertEqual(in_first[0], FIRST_LINE)
            three = scramble_of(in_first[1])
            self.assertRegex(three, r"^[RUFDLB]['2]?( [RUFDLB]['2]?)+$", in_first[1])
            self.assertRegex(three, r"[DLB]", "the first session's scrambles are the 3x3x3's again")
            self.assertLess(result_seconds(in_new[0].split(" | Scramble: ")[0]), 0.6, in_new)
            self.assertGreater(result_seconds(in_first[1].split(" | Scramble: ")[0]), 0.6, in_first)
            self.assertEqual(app.result_lines("Result 2.lst"), in_new, "the other session's log untouched")
            app.quit()
            self.assertEqual(app.result_lines("Result.lst"), in_first)
            self.assertEqual(app.result_lines("Result 2.lst"), in_new)

    def test_lost_sessions_are_found_again_and_unsaved_ones_stay_named_across_switches(self):
        """A Sessions key that lost sessions: their logs and keys bring them back, with a
        note; a session whose log is read-only is named in the caption from any session,
        the next save elsewhere writes its result, and a switch shows the session's last
        result or zeros."""
        def prepare(a):
            a.write("Setting.ini", "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\n"
                                   "Sessions=-1\r\nSession 3 Name=Pyraminx\r\nSession 3 Event=pyram\r\n")
            a.write("Result 2.lst", FIRST_LINE + " (DNF)\r\n")
            a.write("Result 5.lst", FIRST_LINE + "\r\n")

        def caption_is(text):
            return wait_until(lambda: app.title(app.main) == text, 5)

        def step(key, session):
            app.wait_focus(app.main)
            app.key(key)
            self.assertTrue(wait_until(lambda: app.setting("Current Session") == session, 5),
                            app.setting("Current Session"))

        with App(prepare=prepare) as app:
            app.start()
            zeros = app.display()
            self.assertTrue(caption_is("Twistwatch \u2014 3 sessions found again"), app.title(app.main))
            app.screenshot("sessions-found-again")
            self.assertEqual(app.setting("Sessions"), "1,2,3,5")

            step("ctrl+Next", "2")
            self.assertNotEqual(app.display(), zeros, "the session's last result, 12.34 DNF, is shown")
            app.screenshot("sessions-switch-shows-last-result")
            step("ctrl+Next", "3")
            self.assertEqual(app.display(), zeros, "a session without results shows zeros")
            step("ctrl+Prior", "2")

            os.chmod(app.path("Result 2.lst"), 0o444)
            solve(app, 0.3)
            self.assertTrue(caption_is("Twistwatch \u2014 Session 2, results not saved"), app.title(app.main))
            step("ctrl+Prior", "1")
            self.assertTrue(caption_is("Twistwatch \u2014 results not saved in Session 2"), app.title(app.main))
            app.screenshot("sessions-unsaved-elsewhere")

            os.chmod(app.path("Result 2.lst"), 0o644)
            solve(app, 0.3)
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 2, 5),
                            app.result_lines("Result 2.lst"))
            self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), app.result_lines())
            self.assertTrue(caption_is("Twistwatch"), app.title(app.main))

            app.key("ctrl+z")
            self.assertTrue(wait_until(lambda: app.result_lines() == [], 5), app.result_lines())
            app.key("ctrl+z")
            self.assertTrue(caption_is("Twistwatch \u2014 nothing to undo"), app.title(app.main))
            app.screenshot("sessions-nothing-to-undo")
            app.quit()


if __name__ == "__main__":
    unittest.main()
