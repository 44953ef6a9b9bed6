"""The release zip: what a Windows user downloads holds the whole ready-to-run
folder, matches its checksum, and unpacked into a new folder it starts."""
import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

import harness
from harness import App, wait_until

PACKAGE = os.path.join(harness.ROOT, "scripts", "package")
PROGRAM_FILES = ["Beep.wav", "Digital-7.ttf", "Ding.wav", "Twistwatch.exe"]
RELEASE_FILES = sorted(PROGRAM_FILES + ["README.txt"])
FOLDER = "Twistwatch"


def package(dist, out):
    return subprocess.run([sys.executable, PACKAGE, "--dist", dist, "--out", out], capture_output=True, text=True,
                          timeout=120)


class UnpackedApp(App):
    """The program run where the user unpacked it, not from a copy of the build's folder."""

    def __init__(self, folder):
        super().__init__()
        shutil.rmtree(self.folder)
        self.folder = folder


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = tempfile.mkdtemp(prefix="tw-package-")
        built = package(harness.DIST, cls.out)
        if built.returncode != 0:
            raise AssertionError(f"scripts/package failed: {built.stderr}")
        zips = glob.glob(os.path.join(cls.out, "Twistwatch-*-win64.zip"))
        if len(zips) != 1:
            raise AssertionError(f"expected one release zip, found {zips}")
        cls.zip = zips[0]
        cls.version = os.path.basename(cls.zip)[len("Twistwatch-"):-len("-win64.zip")]

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.out, ignore_errors=True)

    def test_the_zip_holds_the_ready_to_run_folder_beside_its_checksum(self):
        self.assertRegex(self.version, r"^\d+(\.\d+)+$")
        with zipfile.ZipFile(self.zip) as zf:
            self.assertIsNone(zf.testzip())
            self.assertEqual(sorted(zf.namelist()), [FOLDER + "/"] + [f"{FOLDER}/{n}" for n in RELEASE_FILES])
            for name in PROGRAM_FILES:
                with open(os.path.join(harness.DIST, name), "rb") as f:
                    self.assertEqual(zf.read(f"{FOLDER}/{name}"), f.read(), name)
            readme = zf.read(f"{FOLDER}/README.txt")
        # Notepad's line ends, the release's own version, and no bare line feed.
        self.assertEqual(readme.count(b"\n"), readme.count(b"\r\n"))
        self.assertIn(f"Twistwatch {self.version} ".encode(), readme.splitlines()[0])
        with open(self.zip, "rb") as f:
            digest = hashlib.sha256(f.read()).hexdigest()
        with open(self.zip + ".sha256", encoding="ascii") as f:
            self.assertEqual(f.read(), f"{digest}  {os.path.basename(self.zip)}\n")

    def test_unpacked_into_a_new_folder_with_a_space_it_starts_and_closes_cleanly(self):
        target = os.path.join(self.out, "My Downloads")
        with zipfile.ZipFile(self.zip) as zf:
            zf.extractall(target)
        folder = os.path.join(target, FOLDER)
        with UnpackedApp(folder) as app:
            app.start()
            # The settings are written only once the sounds and the font passed their
            # checks: a refusal's message box would carry the same title.
            self.assertTrue(wait_until(lambda: app.exists("Setting.ini"), 10), "the start-up checks did not pass")
            app.screenshot("package-unpacked")
            app.key("alt+F4")
            self.assertEqual(app.wait_exit(15), 0)
            self.assertEqual(sorted(os.listdir(folder)), sorted(RELEASE_FILES + ["Setting.ini"]))

    def test_a_dist_folder_missing_a_file_makes_no_release(self):
        broken = os.path.join(self.out, "broken dist")
        shutil.copytree(harness.DIST, broken)
        os.remove(os.path.join(broken, "Ding.wav"))
        out = os.path.join(self.out, "broken release")
        result = package(broken, out)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("Ding.wav", result.stderr)
        self.assertEqual(glob.glob(os.path.join(out, "*.zip*")), [])


if __name__ == "__main__":
    unittest.main()
