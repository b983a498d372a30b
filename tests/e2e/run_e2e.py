#!/usr/bin/env python3
"""Runs the end-to-end tests: jlaunch.exe under Wine + Xvfb, driven by jlprobe.

Usage: run_e2e.py [unittest name patterns...]   (-k filters like unittest's)
"""
import sys
import time
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from harness.base import use_session  # noqa: E402
from harness.real_vm import RealVmTestCase, SKIP_REASON, real_vm_available  # noqa: E402
from harness.wine_session import WineSession  # noqa: E402


def tests_of(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from tests_of(item)
        else:
            yield item


class CountingResult(unittest.TextTestResult):
    """Counts the tests that ran on the real VM."""
    real_vm_ran = 0

    def stopTest(self, test):
        super().stopTest(test)
        if isinstance(test, RealVmTestCase) and not any(test is t for t, _ in self.skipped):
            CountingResult.real_vm_ran += 1


def main():
    started = time.monotonic()
    session = WineSession().start()
    print(f"wine prefix ready in {time.monotonic() - started:.1f} s", flush=True)
    try:
        use_session(session)
        loader = unittest.TestLoader()
        patterns = [a for a in sys.argv[1:] if not a.startswith("-")]
        if patterns:
            loader.testNamePatterns = [f"*{p}*" for p in patterns]
        suite = loader.discover(str(Path(__file__).parent), pattern="test_*.py", top_level_dir=str(Path(__file__).parent))
        real_vm_tests = sum(isinstance(t, RealVmTestCase) for t in tests_of(suite))
        result = unittest.TextTestRunner(verbosity=2, resultclass=CountingResult).run(suite)
        if not real_vm_tests:
            pass
        elif real_vm_available():
            print(f"{CountingResult.real_vm_ran} of {real_vm_tests} tests ran on the real VM")
        else:
            print(f"skipped {real_vm_tests} tests on the real VM: {SKIP_REASON}")
    finally:
        session.stop()
    print(f"end-to-end run took {time.monotonic() - started:.1f} s")
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
