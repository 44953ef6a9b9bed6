"""The real program under Wine timed by a competition timer: a PulseAudio daemon of the
test's own, whose null sink's monitor is the default sound input, hears a timer's
session played into the sink (idle, both hands ready, running to 12.345 s, stopped),
and Result.lst gets the solve. A flat line shows "no signal" in the caption."""
import struct
import time
import unittest

from harness import App, wait_until, xdotool
from pulse_daemon import PulseDaemon

SETTINGS = ("[General Settings]\r\nCountdown=Disabled\r\nLog Result=Enabled\r\nShow Hour=Disabled\r\n"
            "Timer Input=Stackmat\r\n")
RATE = 48000
BAUD = 1200
PACKETS_PER_SECOND = 9


def packet(status, ms):
    """A timer's packet: its state, six digits, the checksum, LF and CR."""
    digits = [ms // 60000 % 10, ms // 10000 % 6, ms // 1000 % 10, ms // 100 % 10, ms // 10 % 10, ms % 10]
    return status + "".join(map(str, digits)) + chr(64 + sum(digits)) + "\n\r"


def session(ms):
    """Idle, not ready, ready, running at nine packets a second, stopped."""
    packets = [packet(s, 0) for s in "ICA" for _ in range(4)]
    shown = 0
    while shown < ms:
        packets.append(packet(" ", shown))
        shown = int(len(packets) - 12) * 1000 // PACKETS_PER_SECOND
    return packets + [packet("S", ms)] * 6


def samples(packets, amplitude=0.5):
    """Mono float samples: the line rests at 0 V; a start bit and each 0 bit are active,
    least significant bit first, one stop bit; each packet in a slot of its own."""
    out = []
    bit = RATE / BAUD
    slot = RATE // PACKETS_PER_SECOND
    for text in packets:
        levels = []
        for c in text.encode("ascii"):
            levels.append(1)
            levels += [0 if (c >> i) & 1 else 1 for i in range(8)]
            levels.append(0)
        start = len(out)
        for n, level in enumerate(levels):
            count = int(round((n + 1) * bit)) - int(round(n * bit))
            out += [amplitude * level] * count
        out += [0.0] * max(0, slot - (len(out) - start))
    return struct.pack(f"<{len(out)}f", *out)


class CompetitionTimer(unittest.TestCase):
    def setUp(self):
        self.pulse = PulseDaemon()
        self.addCleanup(self.pulse.stop)

    def test_a_timer_played_into_the_sound_input_is_logged(self):
        with App(prepare=lambda a: a.write("Setting.ini", SETTINGS), audio_env=self.pulse.env) as app:
            app.start(wait_for_window=False)
            app.main = app.wait_window("^Twistwatch")
            # The sink plays silence: a flat line, said in the caption.
            self.assertTrue(wait_until(lambda: app.title(app.main) == "Twistwatch \u2014 no signal", 10),
                            app.title(app.main))
            app.screenshot("stackmat-no-signal")
            played = self.pulse.play(samples(session(12345)), RATE)
            self.assertEqual(played.returncode, 0, played.stderr)
            self.assertTrue(wait_until(lambda: app.result_lines(), 10), "the timer's stop was not logged")
            app.screenshot("stackmat-stopped")
            self.assertEqual(len(app.result_lines()), 1, app.result_lines())
            self.assertRegex(app.result_lines()[0], r"\| Result: 00:00:12:34$")
            # Space starts no solve while the timer is the input: the digits stay as they are.
            app.wait_focus(app.main)
            shown = app.display()
            xdotool("key", "space")
            time.sleep(1.0)
            self.assertEqual(app.display(), shown, "Space started a count")
            self.assertEqual(len(app.result_lines()), 1)


if __name__ == "__main__":
    unittest.main()
