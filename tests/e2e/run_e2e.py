"""Runs the end-to-end tests: the real programs under Wine on Xvfb, driven
from outside with window messages and real X input, checked on what a person
sees and on what lands on disk. Each suite is a file suite_NAME.py beside
this one; adding a suite is adding such a file.

    run_e2e.py --list
    run_e2e.py --check NAME [TEST...]
    run_e2e.py --programs FOLDER --suite NAME [TEST...]

A name that matches nothing is an error: --check says so before anything
runs, and a run that would execute no test fails. A run whose every test was
skipped ran none either: it ends with status 77 (SKIPPED_ALL). A run that
gets to its end says so in its last line, which the test runner waits for.
"""

import argparse
import glob
import importlib
import os
import sys
import unittest

import harness

HERE = os.path.dirname(os.path.abspath(__file__))
SKIPPED_ALL = 77


def suite_names():
    return sorted(os.path.basename(path)[len("suite_"):-len(".py")]
                  for path in glob.glob(os.path.join(HERE, "suite_*.py")))


def flatten(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from flatten(item)
        else:
            yield item


def suite_tests(suite, names):
    tests = list(flatten(unittest.TestLoader().loadTestsFromModule(importlib.import_module("suite_" + suite))))
    unmatched = [name for name in names if not any(name in t.id() for t in tests)]
    if unmatched:
        sys.exit(f"no test of e2e_{suite} matches {', '.join(unmatched)}; its tests: "
                 + " ".join(t.id().rsplit(".", 1)[-1] for t in tests))
    return [t for t in tests if not names or any(name in t.id() for name in names)]


def check(names):
    """Whether the test runner's NAME [TEST...] names something."""
    if not names:
        return
    valid = ["core_tests", "win_tests", "win_tests_en", "runner_check"] + ["e2e_" + s for s in suite_names()]
    if names[0] not in valid:
        sys.exit(f"no test program or suite is named {names[0]}; the names are: {' '.join(valid)}")
    if names[0].startswith("e2e_"):
        suite_tests(names[0][len("e2e_"):], names[1:])


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", help="the folder with both editions and the test programs")
    parser.add_argument("--suite", choices=suite_names())
    parser.add_argument("--list", action="store_true", help="print the suites' names")
    parser.add_argument("--check", action="store_true", help="check that the names name tests")
    parser.add_argument("tests", nargs="*", help="run only the tests whose names hold one of these")
    args = parser.parse_args()
    if args.list:
        print(" ".join(suite_names()))
        return
    if args.check:
        check(args.tests)
        return
    harness.PROGRAMS = args.programs
    tests = suite_tests(args.suite, args.tests)
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(tests))
    # A test with only some of its subtests skipped has run.
    ran = result.testsRun - sum(1 for test, _ in result.skipped if test in tests)
    # The test runner takes a suite as passed only once it has read this.
    print(f"== the suite ran to its end: {ran} of {len(tests)} tests ran", flush=True)
    if not result.wasSuccessful():
        sys.exit(1)
    sys.exit(SKIPPED_ALL if ran == 0 else 0)


if __name__ == "__main__":
    main()
