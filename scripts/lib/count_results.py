"""Sums the test cases of every layer's XML report into one closing line."""
import sys
import xml.etree.ElementTree as ET


def count(path):
    root = ET.parse(path).getroot()
    suites = [root] if root.tag == "testsuite" else root.findall("testsuite")
    passed = failed = skipped = 0
    for suite in suites:
        for case in suite.iter("testcase"):
            if case.find("failure") is not None or case.find("error") is not None:
                failed += 1
            elif case.find("skipped") is not None or case.get("result") == "skipped" or case.get("status") == "notrun":
                skipped += 1
            else:
                passed += 1
    return passed, failed, skipped


def main(paths):
    totals = [0, 0, 0]
    for path in paths:
        try:
            p, f, s = count(path)
        except (OSError, ET.ParseError):
            p, f, s = 0, 1, 0  # a layer that left no readable report failed
        print(f"  {path.split('/build/')[-1]}: {p} passed, {f} failed" + (f", {s} skipped" if s else ""))
        totals = [totals[0] + p, totals[1] + f, totals[2] + s]
    print(f"{totals[0]} passed, {totals[1]} failed" + (f", {totals[2]} skipped" if totals[2] else ""))
    return totals[1]


if __name__ == "__main__":
    sys.exit(1 if main(sys.argv[1:]) else 0)
