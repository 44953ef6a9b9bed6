"""Runs every tests/e2e/test_*.py and writes a JUnit report for the closing count."""
import argparse
import os
import sys
import time
import unittest
from xml.etree import ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))


def reported():
    """What the tests reported so far (imported late: the harness reads its folders
    from the environment main() sets)."""
    import harness  # noqa: PLC0415
    return harness.FINDINGS


class RecordingResult(unittest.TextTestResult):
    def __init__(self, *args, **kwargs):
        super().__init__(*args, **kwargs)
        self.records = []
        self._start = 0.0
        self._findings = 0

    def startTest(self, test):
        self._start = time.monotonic()
        self._findings = len(reported())
        super().startTest(test)

    def _record(self, test, outcome, detail=""):
        # A test's subtests are recorded as they end: each takes what came since the last record.
        findings = reported()[self._findings:]
        self._findings = len(reported())
        now = time.monotonic()
        self.records.append((test.id(), outcome, detail, now - self._start, findings))
        self._start = now

    def addSuccess(self, test):
        super().addSuccess(test)
        self._record(test, "passed")

    def addFailure(self, test, err):
        super().addFailure(test, err)
        self._record(test, "failure", self._exc_info_to_string(err, test))

    def addError(self, test, err):
        super().addError(test, err)
        self._record(test, "error", self._exc_info_to_string(err, test))

    def addSubTest(self, test, subtest, err):
        # Each subtest by its own name ("test_x (case)"), passed or not: a failing one would
        # otherwise leave its test without any record at all.
        super().addSubTest(test, subtest, err)
        if err is None:
            self._record(subtest, "passed")
        elif issubclass(err[0], test.failureException):
            self._record(subtest, "failure", self._exc_info_to_string(err, test))
        else:
            self._record(subtest, "error", self._exc_info_to_string(err, test))

    def addSkip(self, test, reason):
        super().addSkip(test, reason)
        self._record(test, "skipped", reason)


def write_report(path, records):
    suite = ET.Element("testsuite", name="e2e", tests=str(len(records)))
    for name, outcome, detail, seconds, findings in records:
        case = ET.SubElement(suite, "testcase", name=name, time=f"{seconds:.2f}")
        if outcome in ("failure", "error", "skipped"):
            ET.SubElement(case, outcome).text = detail
        if findings:
            ET.SubElement(case, "system-out").text = "\n".join(findings)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    ET.ElementTree(suite).write(path, encoding="utf-8", xml_declaration=True)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--dist")
    parser.add_argument("--results", required=True)
    parser.add_argument("--shots")
    parser.add_argument("pattern", nargs="?", default="test_*.py")
    args = parser.parse_args()
    if args.dist:
        os.environ["TW_DIST"] = args.dist
    if args.shots:
        os.environ["TW_SHOTS"] = args.shots
    sys.path.insert(0, HERE)
    suite = unittest.defaultTestLoader.discover(HERE, pattern=args.pattern, top_level_dir=HERE)
    runner = unittest.TextTestRunner(verbosity=1, resultclass=RecordingResult, stream=sys.stdout)
    result = runner.run(suite)
    write_report(args.results, result.records)
    ran = sum(1 for _, outcome, _, _, _ in result.records if outcome != "skipped")
    if ran == 0:
        # A pattern that matches nothing, or a discovery that finds nothing, is no green layer.
        print(f"no end-to-end test ran (pattern {args.pattern!r})", file=sys.stderr)
        return 1
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
