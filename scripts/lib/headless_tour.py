"""Runs the program in Xvfb: a short solve with the countdown, the options window's
panels, then the opt-in features (scramble row, inspection, the statistics window
over a few hundred seeded solves, the scramble picture of every WCA event), saving a
screenshot of each state."""
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "e2e"))
from harness import SHOTS, App, pixels, wait_until, wine_env  # noqa: E402


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
    shots += feature_tour()
    shots += scramble_pictures()
    print("Screenshots:", *shots, sep="\n  ")


FEATURES_ON = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
               "Show Scramble=Enabled\r\nInspection=Enabled\r\n")


def seeded_log(count):
    rng = random.Random(2026)
    lines = []
    for i in range(count):
        cs = max(900, int(rng.gauss(2600 - i * 2, 380)))
        suffix = " (DNF)" if rng.random() < 0.01 else ""
        lines.append(f"#Date: 01/12/2026 | Time: 10:{i // 60 % 60:02}:{i % 60:02} | "
                     f"Result: 00:00:{cs // 100:02}:{cs % 100:02}{suffix}\r\n")
    return "".join(lines)


def feature_tour():
    shots = []

    def prepare(app):
        app.write("Setting.ini", FEATURES_ON)
        app.write("Result.lst", seeded_log(400))

    with App(prepare=prepare) as app:
        app.start()
        time.sleep(1.5)  # the first scramble comes from the worker
        shots.append(app.screenshot("scramble"))
        app.key("space")
        time.sleep(2.3)
        shots.append(app.screenshot("inspection"))
        app.key("space")
        time.sleep(1.1)
        app.key("space")
        wait_until(lambda: len(app.result_lines()) == 401, 5)
        app.key("F3")
        time.sleep(1.0)
        shots.append(app.screenshot("statistics"))
        app.key("F3")
        time.sleep(0.3)
    return shots


EVENTS = ("333", "222", "444", "555", "666", "777", "333bf", "333oh", "333fm", "333mbf", "444bf", "555bf",
          "pyram", "skewb", "sq1", "minx", "clock")


def drawn(app, wid):
    """Whether the window shows a puzzle: a run of strongly coloured pixels, where a note
    is grey on white."""
    box = app.geometry(wid)
    data = pixels(box.x, box.y + box.height // 4, box.width, box.height // 2)
    return any(max(data[i:i + 3]) - min(data[i:i + 3]) > 80 for i in range(0, len(data), 3))


def scramble_pictures():
    """One start per event: a session of that event current, F4, the picture window
    (made large enough to check every sticker) saved on its own."""
    shots = []
    for event in EVENTS:
        def prepare(app, event=event):
            app.write("Setting.ini", "[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\n"
                      "Show Hour=Disabled\r\nShow Scramble=Enabled\r\nMulti-Blind Cubes=3\r\n"
                      f"Sessions=1,2\r\nSession 2 Name={event}\r\nSession 2 Event={event}\r\n"
                      "Current Session=2\r\nScramble Width=9000\r\nScramble Height=6600\r\n")

        with App(prepare=prepare) as app:
            app.start(wait_for_window=False)
            app.main = app.wait_window("^Twistwatch")
            app.focus(app.main)
            app.key("F4")
            picture = app.wait_window("^Twistwatch [|] Scramble$", timeout=10)
            # The event's first scramble comes from the worker, Megaminx's and Square-1's
            # after their tables.
            if not wait_until(lambda: drawn(app, picture), 60, step=0.5):
                print("scramble-" + event + ": no picture within a minute")
            time.sleep(0.3)
            target = os.path.join(SHOTS, "scramble-" + event + ".png")
            os.makedirs(SHOTS, exist_ok=True)
            subprocess.run(["import", "-window", picture, target], env=wine_env(), check=False,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
            shots.append(target)
    return shots


if __name__ == "__main__":
    main()
