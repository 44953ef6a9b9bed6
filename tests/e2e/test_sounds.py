"""The sounds as heard: the real program under Wine plays into a PulseAudio daemon of
the test's own, and its sink is recorded. Space with the countdown on gives a beep at
"3", "2" and "1" a second apart, and the ding a second after the third beep, as the
count starts."""
import os
import shutil
import struct
import tempfile
import time
import unittest

from harness import App, report, wait_until
from pulse_daemon import PulseDaemon

SETTINGS = "[General Settings]\r\nCountdown=Enabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
RATE = 48000
LOUD = 300           # a sample this far from silence is sound (the sink is digital silence between)
GAP_MS = 150         # quieter than LOUD for this long ends a sound
BEEP_MS = (40, 200)  # Beep.wav lasts 77 ms
DING_MS = 1000       # Ding.wav lasts 1.83 s
SPACING_MS = 1000
TOLERANCE_MS = 50


def sounds(samples):
    """The sounds heard, as (onset ms, length ms), in order."""
    gap = GAP_MS * RATE // 1000
    found = []
    start = last = None
    for i, value in enumerate(samples):
        if abs(value) < LOUD:
            continue
        if last is not None and i - last > gap:
            found.append((start, last))
            start = None
        if start is None:
            start = i
        last = i
    if start is not None:
        found.append((start, last))
    return [(a * 1000 / RATE, (b - a) * 1000 / RATE) for a, b in found]


class Sounds(unittest.TestCase):
    def setUp(self):
        self.pulse = PulseDaemon()
        self.addCleanup(self.pulse.stop)

    def test_the_countdown_beeps_three_times_a_second_apart_and_dings_at_the_start(self):
        folder = tempfile.mkdtemp(prefix="tw-sounds-")
        self.addCleanup(shutil.rmtree, folder, True)
        recording = os.path.join(folder, "sink.raw")
        with App(prepare=lambda a: a.write("Setting.ini", SETTINGS), audio_env=self.pulse.env) as app:
            app.start()
            recorder = self.pulse.record(recording, RATE)
            try:
                time.sleep(0.5)  # the recording is under way before the first beep
                app.key("space")
                time.sleep(4.5)  # three seconds of countdown, the ding, its tail
                app.key("space")
                self.assertTrue(wait_until(lambda: len(app.result_lines()) == 1, 5), "the solve was not logged")
            finally:
                recorder.terminate()
                recorder.wait(10)
            app.quit()
        with open(recording, "rb") as f:
            data = f.read()
        samples = struct.unpack(f"<{len(data) // 2}h", data[:len(data) // 2 * 2])
        heard = sounds(samples)
        shown = [f"{onset:.0f} ms for {length:.0f} ms" for onset, length in heard]
        self.assertEqual(len(heard), 4, f"four sounds expected, heard {shown}")
        for onset, length in heard[:3]:
            self.assertTrue(BEEP_MS[0] <= length <= BEEP_MS[1], f"a beep expected, heard {shown}")
        self.assertGreaterEqual(heard[3][1], DING_MS, f"the ding last, heard {shown}")
        for (before, _), (after, _) in zip(heard, heard[1:]):
            self.assertLessEqual(abs(after - before - SPACING_MS), TOLERANCE_MS, f"a second apart: {shown}")
        report("sounds heard: " + ", ".join(shown))


if __name__ == "__main__":
    unittest.main()
