"""The real program under Wine, in a zone east of Greenwich: a csTimer file of three
sessions imported through the system's own Open dialog, each session a log of its own
while the session shown stays shown, and one of them exported to CSV through the
system's Save dialog and read back byte for byte."""
import os
import shutil
import time
import unittest

from harness import App, wait_until, xdotool

HERE = os.path.dirname(os.path.abspath(__file__))
FIXTURE = os.path.join(HERE, "fixtures", "cstimer_three_sessions.txt")
# Other timers' files, written from their public descriptions (the host tests' fixtures).
OTHER_TIMERS = os.path.join(HERE, "..", "host", "fixtures", "exchange")
SETTINGS = "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nLast Frame=Result\r\n"
FIRST_SESSION_LINE = "#Date: 01/02/2025 | Time: 10:11:12 | Result: 00:00:15:27"
# The file's sessions, as the program lists them, and their solves.
SESSIONS = [("Main", "333", 3), ("Two by two", "222", 2), ("One hand", "333oh", 1)]
# The user's zone: an hour east of UTC in November, so a zone applied backwards, or
# not at all, moves every time by an hour.
ZONE = "Europe/Berlin"
# csTimer keeps each solve's start in UTC; the log holds the stop in the user's time:
# 22:13:20 UTC + 12 s measured is 23:13:32 in Berlin.
MAIN_LINES = [
    "#Date: 14/11/2023 | Time: 23:13:32 | Result: 00:00:12:34 | Scramble: R U R' U'",
    "#Date: 14/11/2023 | Time: 23:15:10 | Result: 00:00:12:00 (+2) | Scramble: F2 B2 | Comment: pop",
    "#Date: 14/11/2023 | Time: 23:16:49 | Result: 00:00:09:87 (DNF) | Scramble: L D",
]
# Each other timer's file of one session, its solves and its first as the log holds it.
R_U = "Result: 00:00:12:34 | Scramble: R U R' U'"
ONE_SESSION_FILES = [
    ("cstimer_session.csv", 4, "#Date: 14/11/2023 | Time: 22:13:32 | " + R_U),  # the user's wall clock
    ("twisty_list.txt", 4, "#Date: 14/11/2023 | Time: 23:13:32 | " + R_U),  # 23:13:32+01:00
    ("cubetime.csv", 4, "#Date: 14/11/2023 | Time: 23:13:32 | " + R_U),  # 22:13:32 +0000
]
CSV_ROWS = [
    "No.,Date,Time,Result,Penalty,Seconds,Scramble,Comment",
    "1,2023-11-14,23:13:32,12.34,,12.34,R U R' U',",
    "2,2023-11-14,23:15:10,12.00+,+2,12.00,F2 B2,pop",
    "3,2023-11-14,23:16:49,DNF(9.87),DNF,,L D,",
]


def windows_path(path):
    """A Linux path as Wine's programs see it, through drive Z:."""
    return "Z:" + path.replace("/", "\\")


def new_window(app, title_regex, before, timeout=15.0):
    """A window of this run titled so that was not there before (a message box shares
    the main window's title)."""
    def find():
        fresh = [w for w in app.titled(title_regex) if w not in before]
        return fresh[-1] if fresh else None

    wid = wait_until(find, timeout)
    if not wid:
        raise AssertionError(f"no new window titled {title_regex!r}; there are {[app.title(w) for w in app.windows('.')]}")
    return wid


def pick_file(app, title_regex, path):
    """Types a path into the system's file dialog's name box and presses Enter."""
    dialog = new_window(app, title_regex, [])
    app.wait_focus(dialog)
    time.sleep(1.0)  # the dialog puts the focus in its name box once it has filled its list
    app.key("ctrl+a")
    xdotool("type", "--delay", 20, windows_path(path))
    app.key("Return")
    if not wait_until(lambda: dialog not in app.titled(title_regex), 10):
        app.screenshot("file-dialog-stayed-up")
        raise AssertionError(f"the {title_regex} dialog stayed up")


def import_file(app, path, shot):
    """Import... with `path`, a look at the question, and Yes."""
    app.key("alt+i")
    pick_file(app, "^Open$", path)
    question = new_window(app, "^Twistwatch$", [app.main])
    app.wait_focus(question)
    app.screenshot(shot)
    app.key("Return")


class ImportExport(unittest.TestCase):
    def setUp(self):
        self.zone = os.environ.get("TZ")
        os.environ["TZ"] = ZONE

    def tearDown(self):
        if self.zone is None:
            os.environ.pop("TZ", None)
        else:
            os.environ["TZ"] = self.zone

    def test_a_cstimer_file_of_three_sessions_comes_in_and_one_goes_out_as_csv(self):
        def prepare(a):
            a.write("Setting.ini", SETTINGS)
            a.write("Result.lst", FIRST_SESSION_LINE + "\r\n")
            shutil.copy(FIXTURE, a.path("from cstimer.txt"))

        with App(prepare=prepare) as app:
            app.start()
            options = app.open_options("Result")
            app.key("alt+i")
            pick_file(app, "^Open$", app.path("from cstimer.txt"))
            # The question before anything is written: Yes is its default button.
            question = new_window(app, "^Twistwatch$", [app.main])
            self.assertIsNone(app.setting("Sessions"), "nothing written before the answer")
            app.screenshot("import-question")
            app.wait_focus(question)
            app.key("Return")
            self.assertTrue(wait_until(lambda: app.setting("Sessions") == "1,2,3,4", 10), app.setting("Sessions"))
            for number, (name, event, solves) in enumerate(SESSIONS, start=2):
                self.assertEqual(app.setting(f"Session {number} Name"), name)
                self.assertEqual(app.setting(f"Session {number} Event"), event)
                self.assertTrue(wait_until(lambda: len(app.result_lines(f"Result {number}.lst")) == solves, 10),
                                (number, app.result_lines(f"Result {number}.lst")))
            self.assertEqual(app.result_lines("Result.lst"), [FIRST_SESSION_LINE], "the first session as it was")
            self.assertEqual(app.result_lines("Result 2.lst"), MAIN_LINES)
            # The session shown stays shown: nothing switched it.
            self.assertIn(app.setting("Current Session"), (None, "1"))
            app.wait_focus(options)
            app.screenshot("import-done")

            # Main shown (the list's next session), then written as CSV.
            app.key("alt+o")
            app.key("Down")
            self.assertTrue(wait_until(lambda: app.setting("Current Session") == "2", 5), app.setting("Current Session"))
            app.key("alt+p")
            pick_file(app, "^Save As$", app.path("main.csv"))
            self.assertTrue(wait_until(lambda: app.exists("main.csv"), 10))
            # The export says that it finished (where it wrote, how many solves) in a message.
            finished = new_window(app, "^Twistwatch$", [app.main])
            app.wait_focus(finished)
            app.screenshot("export-finished")
            app.key("Return")
            self.assertTrue(wait_until(lambda: finished not in app.titled("^Twistwatch$"), 5), "the message stayed up")
            data = app.read("main.csv")
            self.assertEqual(data[:3], b"\xef\xbb\xbf", "a spreadsheet knows UTF-8 by its byte-order mark")
            self.assertEqual(data[3:].decode("utf-8").split("\r\n"), CSV_ROWS + [""])
            app.wait_focus(options)

            # The CSV read back into the session shown gives the same lines again.
            import_file(app, app.path("main.csv"), "csv-read-back")
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 6, 10))
            self.assertEqual(app.result_lines("Result 2.lst"), MAIN_LINES + MAIN_LINES)
            app.wait_focus(options)
            app.key("Escape")
            self.assertTrue(wait_until(lambda: not app.options_windows(), 5))
            app.quit()

    def test_the_files_other_timers_export_come_in(self):
        def prepare(a):
            a.write("Setting.ini", SETTINGS)
            a.write("Result.lst", FIRST_SESSION_LINE + "\r\n")
            for name, _, _ in ONE_SESSION_FILES:
                shutil.copy(os.path.join(OTHER_TIMERS, name), a.path(name))
            shutil.copy(os.path.join(OTHER_TIMERS, "cubedesk_backup.json"), a.path("cubedesk_backup.json"))

        with App(prepare=prepare) as app:
            app.start()
            options = app.open_options("Result")
            expected = [FIRST_SESSION_LINE]
            for name, solves, first in ONE_SESSION_FILES:
                with self.subTest(name):
                    import_file(app, app.path(name), "import-" + name.replace(".", "-"))
                    self.assertTrue(wait_until(lambda: len(app.result_lines()) == len(expected) + solves, 10),
                                    app.result_lines())
                    self.assertEqual(app.result_lines()[len(expected)], first)
                    expected = app.result_lines()
                    app.wait_focus(options)
            self.assertIsNone(app.setting("Sessions"), "one session's files go into the session shown")

            import_file(app, app.path("cubedesk_backup.json"), "import-cubedesk")
            self.assertTrue(wait_until(lambda: app.setting("Sessions") == "1,2,3,4", 10), app.setting("Sessions"))
            self.assertEqual([app.setting(f"Session {n} Name") for n in (2, 3, 4)], ["Main", "Feet & more", "Pyraminx"])
            self.assertTrue(wait_until(lambda: len(app.result_lines("Result 2.lst")) == 3, 10))
            self.assertEqual(app.result_lines("Result 2.lst")[0], "#Date: 14/11/2023 | Time: 23:13:32 | " + R_U)
            self.assertIn(app.setting("Current Session"), (None, "1"))
            self.assertEqual(app.result_lines(), expected, "the session shown keeps its lines")
            app.wait_focus(options)
            app.screenshot("import-cubedesk-done")
            app.key("Escape")
            self.assertTrue(wait_until(lambda: not app.options_windows(), 5))
            app.quit()


if __name__ == "__main__":
    unittest.main()
