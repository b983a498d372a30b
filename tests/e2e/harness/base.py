"""The test case base class: every test gets the run's shared Wine session."""
import re
import unittest
from pathlib import Path

from .launch import REPO, Case

OUTPUT = REPO / "build" / "e2e-output"

_session = None


def use_session(session):
    global _session
    _session = session


class WineTestCase(unittest.TestCase):
    @property
    def session(self):
        if _session is None:
            raise unittest.SkipTest("no Wine session: run through tests/e2e/run_e2e.py")
        return _session

    def case(self, suffix=""):
        """A fresh folder on the Wine drive named after the test."""
        name = re.sub(r"[^A-Za-z0-9]+", "-", self.id().split(".", 1)[-1] + suffix).strip("-").lower()
        return Case(self.session, name)

    def output(self, name):
        OUTPUT.mkdir(parents=True, exist_ok=True)
        return OUTPUT / name
