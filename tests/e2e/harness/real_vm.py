"""Applications on the real Java VM for Windows (Avian, built by scripts/build-real-jvm).

Tests of this group derive from RealVmTestCase; without the VM they are skipped
and the run says once why."""
import shutil
import unittest

from .apps import merged
from .base import WineTestCase
from .launch import BIN, REPO

REAL_JVM = REPO / "build" / "avian" / "out" / "jre" / "bin" / "server" / "jvm.dll"
APPS_JAR = BIN / "java" / "e2e-apps.jar"
SKIP_REASON = "no real JVM: build/avian was not built (the Avian kit ../shared/avian is missing)"


def real_vm_available():
    return REAL_JVM.exists()


class RealVmTestCase(WineTestCase):
    """A test that runs Java code on the real VM."""

    @classmethod
    def setUpClass(cls):
        if not real_vm_available():
            raise unittest.SkipTest(SKIP_REASON)


def install_real_runtime(case, home="rt", location=r"bin\server\jvm.dll"):
    """A runtime folder holding the real VM; returns its Windows path."""
    target = case.path(f"{home}\\{location}")
    target.parent.mkdir(parents=True, exist_ok=True)
    shutil.copyfile(REAL_JVM, target)
    return case.win(home)


def install_real_app(case, settings=None, main_class="e2e.Console", home="rt", exe="app.exe"):
    """The launcher, the test applications' jar and the real VM named by "JRE Path"."""
    case.install_launcher(exe)
    shutil.copyfile(APPS_JAR, case.path("e2e-apps.jar"))
    runtime = install_real_runtime(case, home)
    base = {"Java Runtime Environment": {"Main Class": main_class, "JRE Path": runtime},
            "Class Path": {"Class Path": case.win("e2e-apps.jar")},
            "Application": {"Output File": case.win("out.txt"), "Error File": case.win("err.txt")}}
    case.write_ini(merged(base, settings), name=exe.rsplit(".", 1)[0] + ".ini")
    return runtime


def console_report(text):
    """The lines e2e.Console printed, with its \\uXXXX escapes (surrogate pairs too) decoded."""
    lines = text.replace("\r\n", "\n").split("\n")
    return [line.encode("ascii", "backslashreplace").decode("unicode_escape")
            .encode("utf-16", "surrogatepass").decode("utf-16") for line in lines if line]


def console_file_report(path):
    """console_report of a file e2e.Console wrote to; no lines when it wrote no file."""
    return console_report(path.read_text(encoding="latin-1")) if path.exists() else []
