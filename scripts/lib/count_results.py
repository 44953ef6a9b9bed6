"""Sums the test cases of every layer's XML report into one closing line.

usage: count_results.py [--failed-step NAME]... REPORT.xml...

A layer whose report is missing, unreadable or holds no test case that ran counts as
failed: a filter or a broken discovery that runs nothing is not a green layer. Every
failed configure or build step counts as one failure of its own; a failed test step
counts only when no report shows a failing case (a runner that crashed after writing
its report, a timeout), so a failure is never closed as "0 failed".
"""
import argparse
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


def findings(path):
    """Figures the tests reported beside their outcome (their <system-out>)."""
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError):
        return []
    return [line for out in root.iter("system-out") for line in (out.text or "").splitlines() if line.strip()]


def layer_line(path):
    """Counts one report; returns (passed, failed, skipped, text)."""
    name = path.split("/build/")[-1]
    try:
        p, f, s = count(path)
    except (OSError, ET.ParseError):
        return 0, 1, 0, f"  {name}: no readable report, counted as 1 failed"
    if p + f == 0:
        return p, 1, s, f"  {name}: no test case ran, counted as 1 failed" + (f" ({s} skipped)" if s else "")
    return p, f, s, f"  {name}: {p} passed, {f} failed" + (f", {s} skipped" if s else "")


def is_test_step(name):
    return name.endswith("-tests")


def main(argv):
    parser = argparse.ArgumentParser()
    parser.add_argument("--failed-step", action="append", default=[], dest="failed_steps")
    parser.add_argument("reports", nargs="*")
    args = parser.parse_args(argv)

    totals = [0, 0, 0]
    for path in args.reports:
        p, f, s, text = layer_line(path)
        print(text)
        for line in findings(path):
            print(f"    {line}")
        totals = [totals[0] + p, totals[1] + f, totals[2] + s]

    report_failures = totals[1]
    build_steps = [step for step in args.failed_steps if not is_test_step(step)]
    test_steps = [step for step in args.failed_steps if is_test_step(step)]
    if build_steps:
        print(f"  failed steps: {', '.join(build_steps)}, counted as {len(build_steps)} failed")
        totals[1] += len(build_steps)
    if test_steps and report_failures == 0:
        print(f"  failed without a failing case: {', '.join(test_steps)}, counted as {len(test_steps)} failed")
        totals[1] += len(test_steps)
    if not args.reports and not args.failed_steps:
        print("  no report given, counted as 1 failed")
        totals[1] += 1

    print(f"{totals[0]} passed, {totals[1]} failed" + (f", {totals[2]} skipped" if totals[2] else ""))
    return totals[1]


if __name__ == "__main__":
    sys.exit(1 if main(sys.argv[1:]) else 0)
