"""jlaunchc.exe, the console launcher: the application's streams and exit code
are the process's, every message goes to standard error as one line and never
into a window, and Ctrl+C or the console's close run the shutdown hooks."""
from harness.apps import install_app, install_discovering_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE
from harness.real_vm import RealVmTestCase, console_report, install_real_app
from harness.registry import NATIVE, registered
from test_splash import SPLASH_CLASS, splash_app

EXCEPTION_TEXT = "Grüße vom Fehler"


def use_console_launcher(case):
    """The console launcher in place of the GUI one as app.exe."""
    case.install_launcher("app.exe", source=BIN / "jlaunchc.exe")


class ConsoleMessages(WineTestCase):
    def test_each_failure_is_one_line_on_standard_error_and_no_window(self):
        def not_a_library(case):
            case.path(r"rt\bin\server\jvm.dll").write_text("not a library")

        # (what, install_app's arguments, a change after installing, locale, stdio, the line)
        rows = [
            ("no main class", {"settings": {"Java Runtime Environment": {"Main Class": ""}}}, None, "en", "pipe",
             "Main class was not specified in INI file."),
            ("no class path", {"class_path": False}, None, "en", "pipe",
             "Java Class Path was not specified in INI file."),
            ("not a library", {}, not_a_library, "en", "pipe",
             r"Failed to load Java VM library: C:\t\{case}\rt\bin\server\jvm.dll (errno = 193)."),
            ("creation fails", {"scenario_text": scenario(vm=["create = -1"])}, None, "en", "pipe",
             "JNI exception: failed to create the Java VM Reason: unknown."),
            ("main class missing", {"settings": {"Java Runtime Environment": {"Main Class": "com.example.Missing"}}},
             None, "en", "pipe", "Could not find the main class com/example/Missing."),
            ("no main method", {"scenario_text": scenario(has_main=False)}, None, "en", "pipe",
             "No main method found in specified class."),
            ("German, on the console", {"scenario_text": scenario(vm=["create = -4"])}, None, "de", "console",
             "JNI Fehler: konnte die Java VM nicht erzeugen Reason: nicht genügend Arbeitsspeicher."),
        ]
        for what, app, change, locale, stdio, line in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                install_app(case, **app)
                use_console_launcher(case)
                if change:
                    change(case)
                run = case.run(locale=locale, stdio=stdio)
                self.assertEqual((run.exit_code, run.windows), (FAILURE, []))
                expected = "app: " + line.replace("{case}", case.name)
                # The VM's own report of an exception may come first, as from java.exe.
                written = run.piped_err.split("\r\n") if stdio == "pipe" else run.console_text.split("\n")
                self.assertEqual([text for text in written if text.startswith("app")], [expected], written)
                self.assertEqual(written[-1], "" if stdio == "pipe" else expected)
                self.assertEqual(run.piped_out, "" if stdio == "pipe" else None)

    def test_runtime_not_found_says_where_it_looked(self):
        case = self.case()
        install_discovering_app(case, {"Java Runtime Environment": {"JRE Path": case.win("missing")}})
        use_console_launcher(case)
        case.path("jdk17").mkdir()
        with registered(self.session, case, [("oracle_jdk", "17.0.2", case.win("jdk17"), NATIVE)]):
            run = case.run(stdio="pipe", variables={"JAVA_HOME": "jdk"})
        self.assertEqual((run.exit_code, run.windows), (FAILURE, []))
        folder = case.win() + "\\"
        self.assertEqual(run.piped_err.split("\r\n"), [
            "app: The Java Runtime Environment (JRE) was not found. Please  download and install a JRE "
            "(latest version) from: https://java.com/",
            "app: Searched for a Java runtime in:",
            f'app:   "JRE Path" {folder}missing\\: no JVM library of the type the settings ask for',
            f"app:   {folder}, {folder}jre64\\: no Java runtime there",
            f"app:   HKLM\\Software\\JavaSoft\\JDK\\17.0.2 {folder}jdk17\\: no JVM library of the type the settings "
            "ask for",
            "app:   JAVA_HOME jdk: not a full path",
            "app:   PATH: no Java runtime there",
            ""])


class SharedWithTheGuiLauncher(WineTestCase):
    def test_splash_window(self):
        case = self.case()
        splash_app(case, {"Splash Screen": case.win("splash.bmp")}, main_steps=("sleep 600",))
        use_console_launcher(case)
        run = case.run(stdio="pipe")
        self.assertEqual((run.exit_code, [w["class"] for w in run.windows]), (0, [SPLASH_CLASS]))


class ConsoleLauncherOnTheRealVm(RealVmTestCase):
    def install(self, case, application=None, parameters=""):
        # No "Output File" or "Error File": the streams stay the process's.
        install_real_app(case, {"Application": {"Output File": "", "Error File": "", **(application or {})},
                                "Java Runtime Environment": {"Virtual Machine Parameters": parameters}})
        use_console_launcher(case)

    def test_main_writes_to_the_console_and_through_pipes_and_its_exit_code_is_the_processs(self):
        for stdio in ("pipe", "console"):
            with self.subTest(stdio):
                case = self.case("-" + stdio)
                self.install(case)
                run = case.run('a "b c" --err=oops --exit=7', stdio=stdio)
                self.assertEqual((run.exit_code, run.windows), (7, []))
                main_report = ["main 4", "arg 0 a", "arg 1 b c", "arg 2 --err=oops", "arg 3 --exit=7"]
                if stdio == "pipe":
                    # The real VM writes the process's streams through the C runtime in text mode, which makes
                    # println's \r\n into \r\r\n (docs/wine-notes.md); a common JVM writes them as they are.
                    self.assertEqual(console_report(run.piped_out.replace("\r\r\n", "\r\n")), main_report)
                    self.assertEqual(run.piped_err, "oops\r\r\n")
                else:
                    self.assertEqual(console_report(run.console_text), main_report + ["oops"])

    def test_failure_check_prints_the_report_and_stops(self):
        # A thread that would keep the process alive for a minute shows that it stops through System.exit.
        case = self.case()
        self.install(case, {"Failure Check": "Yes"})
        run = case.run(f'--thread=60000 "--throw={EXCEPTION_TEXT}"', stdio="pipe")
        self.assertEqual((run.exit_code, run.windows), (FAILURE, []))
        self.assertTrue(run.piped_err.startswith(f"app: java.lang.IllegalStateException: {EXCEPTION_TEXT}\r\n"),
                        run.piped_err)
        self.assertIn("e2e.Console.main", run.piped_err)

    def test_ctrl_c_and_the_consoles_close_run_the_shutdown_hooks(self):
        # The real VM registers no console handler of its own: without the launcher's, nothing would run the
        # hooks. With -Xrs the launcher registers none either, and the default ending applies: on Windows
        # exit code 0xC000013A, under Wine 0 (docs/wine-notes.md).
        for event, parameters, exit_code, hook_runs in (("ctrl-c", "", 130, True), ("close", "", 143, True),
                                                        ("ctrl-c", "-Xrs", 0, False)):
            with self.subTest(event=event, parameters=parameters):
                case = self.case(f"-{event}{parameters}")
                self.install(case, parameters=parameters)
                run = case.run(f"--hook={case.win('hook.txt')} --touch={case.win('ready')} --sleep=60000",
                               stdio="console", console_event=(event, case.win("ready")))
                # Sent, and the program ended before the probe's time limit (30 s) and main's sleep.
                self.assertIn({"event": "console_event", "name": event, "ok": True}, run.events)
                self.assertEqual((run.exit_code, run.timed_out), (exit_code, False))
                hook = case.path("hook.txt")
                self.assertEqual(hook.read_text() if hook.exists() else None, "hook ran" if hook_runs else None)
