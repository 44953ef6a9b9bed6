"""Runs the program once in Xvfb: a short solve with the countdown, then the
options window's panels, saving a screenshot of each state."""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from harness import App, wait_until  # noqa: E402


def warm_up():
    # The first program of a new Wine session starts the session's desktop a moment
    # later, which takes the keyboard focus away once; let that happen before the tour.
    with App() as app:
        app.start()
        time.sleep(2.0)


def main():
    warm_up()
    shots = []
    with App() as app:
        app.start()
        time.sleep(0.5)
        shots.append(app.screenshot("idle"))
        app.key("space")
        time.sleep(0.4)
        shots.append(app.screenshot("countdown"))
        time.sleep(4.2)
        shots.append(app.screenshot("running"))
        app.key("space")
        wait_until(lambda: app.result_lines(), 5)
        time.sleep(0.3)
        shots.append(app.screenshot("stopped"))
        app.key("F2")
        time.sleep(0.5)
        shots.append(app.screenshot("hour-shown"))
        app.key("F2")
        app.key("F1")
        options = app.wait_window("^Twistwatch [|] ", timeout=10)
        app.focus(options)
        for panel, access in (("about", "alt+b"), ("setup", "alt+s"), ("result", "alt+r")):
            app.key(access)
            time.sleep(0.6)
            shots.append(app.screenshot("options-" + panel))
        app.key("alt+x")
        time.sleep(0.3)
        print("Result.lst:", *app.result_lines(), sep="\n  ")
    print("Screenshots:", *shots, sep="\n  ")


if __name__ == "__main__":
    main()
