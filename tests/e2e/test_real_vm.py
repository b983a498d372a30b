"""jlaunch.exe hosting a real Java VM: what the jvm.dll double asserts on, real Java code confirms."""
from harness.launch import FAILURE
from harness.real_vm import RealVmTestCase, console_report, install_real_app


class RealVmLaunch(RealVmTestCase):
    def test_main_receives_its_arguments_and_writes_the_output_file(self):
        case = self.case()
        install_real_app(case, {"Application": {"Cmd": "--from-cmd"}})
        run = case.run('first "two words" Zoë')
        self.assertEqual((run.exit_code, run.windows), (0, []))
        report = console_report(case.path("out.txt").read_text(encoding="latin-1"))
        self.assertEqual(report, ["main 4", "arg 0 first", "arg 1 two words", "arg 2 Zoë", "arg 3 --from-cmd",
                                  "main returns"])

    def test_system_exit_ends_the_launch_with_its_code(self):
        case = self.case()
        install_real_app(case)
        self.assertEqual(case.run("--exit=7").exit_code, 7)
        self.assertEqual(case.run("--exit=-1").exit_code, FAILURE)
