"""scripts/lib/pulse.sh's daemon for an end-to-end test: a PulseAudio daemon of the
test's own whose null sink's monitor is the default sound input. What a test plays
into the sink the program hears; what the program plays is recorded from the monitor."""
import os
import subprocess
import tempfile

from harness import ROOT

PULSE = os.path.join(ROOT, "scripts", "lib", "pulse.sh")
SINK = "tw_line"


class PulseDaemon:
    """Started in a short folder of its own; stopped by its PIDs."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="twp")
        out = subprocess.run(["bash", "-c", f'. "{PULSE}" && tw_pulse_start "$1"', "_", self.folder],
                             capture_output=True, text=True, timeout=60, stdin=subprocess.DEVNULL)
        if out.returncode != 0:
            raise AssertionError("the test's PulseAudio daemon did not start: " + out.stderr.strip())
        self.env = {}
        with open(os.path.join(self.folder, "client.env")) as f:
            for line in f:
                key, _, value = line.strip().partition("=")
                if key:
                    self.env[key] = value

    def client_env(self):
        env = dict(os.environ)
        env.update(self.env)
        return env

    def play(self, data, rate):
        """Plays mono float32 samples into the sink; returns pacat's outcome."""
        return subprocess.run(["pacat", "--playback", "--raw", "--format=float32le", f"--rate={rate}", "--channels=1",
                               f"--device={SINK}", "--latency-msec=40"], input=data, env=self.client_env(),
                              timeout=120, capture_output=True)

    def record(self, path, rate):
        """Starts recording the sink's monitor as mono 16-bit samples into `path`; the
        caller ends the returned process (terminate, then wait)."""
        out = open(path, "wb")
        try:
            return subprocess.Popen(["parec", "--raw", "--format=s16le", f"--rate={rate}", "--channels=1",
                                     f"--device={SINK}.monitor", "--latency-msec=10"], stdout=out,
                                    stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL, env=self.client_env())
        finally:
            out.close()

    def stop(self):
        subprocess.run(["bash", "-c", f'. "{PULSE}" && tw_pulse_stop "$1"', "_", self.folder], timeout=60,
                       stdin=subprocess.DEVNULL, capture_output=True)
