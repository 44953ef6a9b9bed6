#!/usr/bin/env python3
"""From a competition timer's stop to the solve's line in Result.lst, as a user gets it.

The real Twistwatch.exe runs under Wine with "Timer Input=Stackmat" and hears a
PulseAudio daemon of this run's own (its null sink's monitor is the default sound
input). A timer's session is played into the sink; the stop is the moment the first
packet saying "stopped" has been played, counted from the moment pacat was started
(so pacat's own start-up is in the figure, never out of it), and the line's arrival is
seen by polling the file every 2 ms. Each run is one solve; the median is printed
beside its target.

Usage: stackmat_log_bench.py --dist DIR [--runs N]. Needs DISPLAY, WINEPREFIX, pulseaudio.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import harness  # noqa: E402
from test_stackmat import RATE, SETTINGS, PulseDaemon, packet, samples, session  # noqa: E402

TARGET_MS = 250


def one_run(pulse, solve_ms):
    packets = session(solve_ms)
    stop_index = next(i for i, p in enumerate(packets) if p.startswith("S"))
    data = samples(packets)
    # Each packet fills one slot of RATE // 9 samples: the stop has been said by the end of its slot's bytes.
    slot = RATE // 9
    bytes_seconds = len(packets[stop_index]) * 10 / 1200
    stop_at = (stop_index * slot) / RATE + bytes_seconds
    with harness.App(prepare=lambda a: a.write("Setting.ini", SETTINGS), audio_env=pulse.env) as app:
        app.start(wait_for_window=False)
        app.main = app.wait_window("^Twistwatch")
        if not harness.wait_until(lambda: app.title(app.main) == "Twistwatch \u2014 no signal", 15):
            raise RuntimeError("the program did not start listening: " + app.title(app.main))
        env = dict(os.environ)
        env.update(pulse.env)
        start = time.monotonic()
        player = subprocess.Popen(["pacat", "--playback", "--raw", "--format=float32le", f"--rate={RATE}",
                                   "--channels=1", "--device=tw_line", "--latency-msec=40"],
                                  stdin=subprocess.PIPE, env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        player.stdin.write(data)
        player.stdin.close()
        logged = None
        deadline = start + stop_at + 10
        while time.monotonic() < deadline:
            if app.exists("Result.lst") and app.result_lines():
                logged = time.monotonic()
                break
            time.sleep(0.002)
        player.wait(timeout=60)
        if logged is None:
            raise RuntimeError("the timer's stop was not logged")
        line = app.result_lines()[0]
        expected = f"00:00:{solve_ms // 1000:02}:{solve_ms % 1000 // 10:02}"
        if not line.endswith(expected):
            raise RuntimeError(f"logged {line!r}, not {expected}")
        return (logged - start - stop_at) * 1000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist", required=True)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    harness.DIST = args.dist
    pulse = PulseDaemon()
    try:
        figures = [one_run(pulse, 3210 + 1000 * run) for run in range(args.runs)]
    finally:
        pulse.stop()
    print(f"competition timer stop to the line in Result.lst: median {statistics.median(figures):.0f} ms, "
          f"max {max(figures):.0f} ms over {len(figures)} solves (target <= {TARGET_MS} ms)")


if __name__ == "__main__":
    try:
        main()
    except Exception as error:  # a benchmark that could not run says so and fails
        print(f"stackmat_log_bench FAILED: {error}")
        sys.exit(1)
