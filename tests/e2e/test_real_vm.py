"""jlaunch.exe hosting a real Java VM: what the jvm.dll double asserts on, real Java code confirms.

The double keeps what a real VM cannot show: creation failures, the exact
option strings, the stack size of the thread that creates the VM."""
import zipfile

from harness.launch import FAILURE
from harness.real_vm import APPS_JAR, RealVmTestCase, console_file_report, install_real_app

EXCEPTION_TEXT = "Grüße vom Fehler"


class RealVmLaunch(RealVmTestCase):
    def test_arguments_options_and_stream_files_in_new_folders(self):
        case = self.case()
        install_real_app(case, {
            "Application": {"Cmd": '--from-cmd "--prop=x"', "Output File": case.win(r"logs\new\out.txt"),
                            "Error File": case.win(r"logs\other\err.txt")},
            "Java Runtime Environment": {"Virtual Machine Parameters": '-Dx="a  b" -Dy=Grüße'}})
        # The VM reads its options in the ANSI code page and the environment the launcher set for it.
        run = case.run('first "two words" Zoë 😀 "--err=to the error" --prop=y --env=JL_JVM_HOME', locale="utf8")
        self.assertEqual((run.exit_code, run.windows), (0, []))
        self.assertEqual(console_file_report(case.path(r"logs\new\out.txt")), [
            "main 9", "arg 0 first", "arg 1 two words", "arg 2 Zoë", "arg 3 😀", "arg 4 --err=to the error",
            "arg 5 --prop=y", "arg 6 --env=JL_JVM_HOME", "arg 7 --from-cmd", "arg 8 --prop=x", "prop y=Grüße",
            f"env JL_JVM_HOME={case.win('rt')}", "prop x=a  b", "main returns"])
        self.assertEqual(case.path(r"logs\other\err.txt").read_bytes(), b"to the error\r\n")

    def test_system_exit_ends_the_launch_with_its_code(self):
        case = self.case()
        install_real_app(case)
        self.assertEqual(case.run("--exit=7").exit_code, 7)
        self.assertEqual(case.run("--exit=-1").exit_code, FAILURE)

    def test_uncaught_exception_with_and_without_failure_check(self):
        # A thread that would keep the process alive for a minute shows that Stop ends it through System.exit.
        for failure_check, answer, arguments, exit_code in (
                ("Yes", 1, "", 0), ("Yes", 2, "--thread=60000", FAILURE), ("no", None, "", 0)):
            with self.subTest(failure_check=failure_check, answer=answer):
                case = self.case(f"-{failure_check}-{answer}")
                install_real_app(case, {"Application": {"Failure Check": failure_check}})
                run = case.run(f'{arguments} "--throw={EXCEPTION_TEXT}"',
                               windows=[f"press:{answer}"] if answer else ())
                self.assertEqual(run.exit_code, exit_code)
                self.assertEqual(len(run.windows), 1 if answer else 0)
                if answer:
                    report = run.control(run.windows[0], 208)["text"]
                    self.assertTrue(report.startswith(f"java.lang.IllegalStateException: {EXCEPTION_TEXT}\r\n"), report)
                    self.assertIn("e2e.Console.main", report)
                # main ended with the exception, right after reporting its last argument
                self.assertEqual(console_file_report(case.path("out.txt"))[-1:],
                                 [f"arg {len(arguments.split())} --throw={EXCEPTION_TEXT}"])
                if not answer:  # the thread's uncaught-exception handler reports it on System.err
                    self.assertTrue(case.path("err.txt").read_text(encoding="utf-8").startswith(
                        f'Exception in thread "main" java.lang.IllegalStateException: {EXCEPTION_TEXT}'))

    def test_main_class_missing_or_without_main(self):
        for main_class, message in (("e2e.Missing", "Could not find the main class e2e/Missing.\n"),
                                    ("e2e.NoMain", "No main method found in specified class.\n")):
            with self.subTest(main_class=main_class):
                case = self.case(f"-{main_class}")
                install_real_app(case, main_class=main_class)
                run = case.run()
                self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))
                self.assertEqual(run.box_text(), message)

    def test_xss_decides_how_deep_main_can_recurse(self):
        # The VM's own budget overflows long before 200000 calls. -Xss64m raises it, and the calls then fit
        # only when the launcher gave main's thread that much stack: on a smaller one the VM crashes.
        for parameters, outcome in (("", "stack overflow"), ("-Xss64m", "recursed 200000")):
            with self.subTest(parameters=parameters):
                case = self.case(f"-{parameters}")
                install_real_app(case, {"Java Runtime Environment": {"Virtual Machine Parameters": parameters}})
                run = case.run("--recurse=200000")
                self.assertEqual(run.exit_code, 0)
                self.assertEqual(console_file_report(case.path("out.txt"))[2:], [outcome, "main returns"])

    def test_launch_ends_when_the_last_non_daemon_thread_does(self):
        case = self.case()
        install_real_app(case)
        run = case.run("--thread=1000")
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(console_file_report(case.path("out.txt"))[-2:], ["main returns", "thread done"])

    def test_class_path_from_a_wildcard_spans_its_jars(self):
        case = self.case()
        install_real_app(case, {"Class Path": {"Class Path": r"\lib\*.jar"}})
        case.path("lib").mkdir()
        with zipfile.ZipFile(APPS_JAR) as apps, zipfile.ZipFile(case.path(r"lib\console.jar"), "w") as console, \
                zipfile.ZipFile(case.path(r"lib\no main.jar"), "w") as other:
            for entry in apps.infolist():
                (other if entry.filename == "e2e/NoMain.class" else console).writestr(entry, apps.read(entry))
        run = case.run("--load=e2e.NoMain")
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(console_file_report(case.path("out.txt"))[2:], ["loaded e2e.NoMain", "main returns"])
