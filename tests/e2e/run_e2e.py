"""Runs the end-to-end tests: the real programs under Wine on Xvfb, driven
from outside with window messages and real X input, checked on what a person
sees and on what lands on disk. Each suite is a file suite_NAME.py beside
this one; adding a suite is adding such a file.

    run_e2e.py --list
    run_e2e.py --programs FOLDER --suite NAME [TEST...]
"""

import argparse
import glob
import importlib
import os
import sys
import unittest

import harness

HERE = os.path.dirname(os.path.abspath(__file__))


def suite_names():
    return sorted(os.path.basename(path)[len("suite_"):-len(".py")]
                  for path in glob.glob(os.path.join(HERE, "suite_*.py")))


def flatten(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from flatten(item)
        else:
            yield item


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--programs", help="the folder with both editions and the test programs")
    parser.add_argument("--suite", choices=suite_names())
    parser.add_argument("--list", action="store_true", help="print the suites' names")
    parser.add_argument("tests", nargs="*", help="run only the tests whose names hold one of these")
    args = parser.parse_args()
    if args.list:
        print(" ".join(suite_names()))
        return
    harness.PROGRAMS = args.programs
    tests = list(flatten(unittest.TestLoader().loadTestsFromModule(importlib.import_module("suite_" + args.suite))))
    if args.tests:
        tests = [t for t in tests if any(name in t.id() for name in args.tests)]
    suite = unittest.TestSuite(tests)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == "__main__":
    main()
