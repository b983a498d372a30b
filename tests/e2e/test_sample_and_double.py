"""The samples a packager can copy, and the jvm.dll double's own check."""
import json
import shutil

from harness.base import WineTestCase
from harness.launch import BIN
from harness.real_vm import RealVmTestCase, install_real_runtime

SAMPLE = BIN.parent / "sample"
CONSOLE_SAMPLE = BIN.parent / "sample-console"


class SampleApplication(WineTestCase):
    def test_sample_launches_with_its_settings(self):
        case = self.case()
        shutil.copytree(SAMPLE, case.path(), dirs_exist_ok=True)
        case.make_runtime(home="jre", scenario="[class com/example/sample/SampleApp]\nmain.step = out started\n")
        run = case.run("one", exe="SampleApp.exe")
        self.assertEqual((run.exit_code, run.windows), (0, []))
        log = case.jvm_log(home="jre")
        options = log.option_strings()
        self.assertEqual(options[0], "-Djava.class.path=" + case.win(r"lib\sample-app.jar") + ";")
        self.assertRegex(options[1], r"^-Xmx\d+K$")
        self.assertEqual(options[2:], ["-Dsample.greeting=Hello from SampleApp.ini", "abort", "exit"])
        arguments = log.main_arguments()
        self.assertEqual(arguments[:2], ["one", "--from-settings"])
        self.assertNotIn("%", arguments[2])
        self.assertEqual(case.path("out.txt").read_bytes(), b"started\r\n")

    def test_sample_carries_its_own_icon_and_version_record(self):
        def probe(command):
            done = self.session.wine(str(BIN / "jlprobe.exe"), command, str(SAMPLE / "SampleApp.exe"))
            return json.loads(done.stdout.decode("utf-8").splitlines()[0])

        self.assertEqual(probe("icon")["32"], {"size": 32, "centre": "#e8731a"})  # the orange tile
        self.assertEqual(probe("version")["strings"]["ProductName"], "jlaunch Swing sample")


class ConsoleSample(RealVmTestCase):
    def test_console_sample_runs_on_the_real_vm_as_the_demo_shows_it(self):
        case = self.case()
        shutil.copytree(CONSOLE_SAMPLE, case.path(), dirs_exist_ok=True)
        install_real_runtime(case, "jre")
        run = case.run("Zoë", exe="Hello.exe")
        self.assertEqual((run.exit_code, run.windows), (0, []))
        printed = case.path("out.txt").read_text(encoding="utf-8").splitlines()
        for line in ("  1: Zoë", "  2: --from-settings", "  sample.greeting   Hello from Hello.ini",
                     "  java.class.path   " + case.win(r"lib\hello.jar") + ";", "  runtime folder    jre"):
            self.assertIn(line, printed)
        self.assertTrue(printed[-1].startswith("Counted 148933 primes below 2000000 in "), printed[-1])
        self.assertEqual(case.path("err.txt").read_bytes(), b"This line was written to System.err.\r\n")


class JvmDouble(WineTestCase):
    def test_double_passes_its_self_test(self):
        done = self.session.wine(str(BIN / "double_selftest.exe"), str(BIN), timeout=300)
        self.assertEqual(done.returncode, 0, done.stdout.decode("utf-8", "replace")[-2000:])
