"""Application Type=service: the launcher registered with Wine's service
control manager runs the application as the service's work, reports its state,
ends it on a stop request (System.exit(0)-like, or the "Service Stop Method")
within "Service Stop Timeout", and reports the application's exit code.
Messages go to the event log and the "Error File", never into a window: a box
would leave the service hanging, so every case that reaches "stopped" shows that."""
import time

from expected_texts import ENGLISH
from harness.apps import APP_CLASS, install_app, install_discovering_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE, Case
from harness.real_vm import RealVmTestCase, install_real_app
from harness.service import Service

SERVICE_SPECIFIC_ERROR = 1066
SERVICE_REQUEST_TIMEOUT = 1053


def service_app(case, application=None, static=(), main_steps=None, **app):
    """app.exe as a service whose main waits (two minutes at most) for the file stop.flag."""
    flag = case.win("stop.flag").replace("\\", "\\\\")
    steps = main_steps if main_steps is not None else ["out main started", f"waitfile {flag}"]
    settings = {"Application": {"Application Type": "service", "Error File": case.win("err.txt"),
                                "Output File": "out.txt", **(application or {})}}
    app.setdefault("scenario_text", scenario(*static, main_steps=steps))
    install_app(case, settings=settings, **app)
    return flag


def error_lines(case):
    path = case.path("err.txt")
    return path.read_text(encoding="utf-8").splitlines() if path.exists() else []


def message(text_id, *values):
    text = ENGLISH[text_id]
    for value in values:
        text = text.replace("%s" if isinstance(value, str) else "%d", str(value), 1)
    return "app: " + " ".join(text.split())


class ServiceLifecycle(WineTestCase):
    def service(self, case, suffix=""):
        return Service(self.session, f"jl-{case.name}{suffix}"[:60], case.win("app.exe"))

    def test_runs_main_reports_running_and_a_stop_ends_it_as_system_exit_0(self):
        case = self.case()
        service_app(case)
        with self.service(case) as service:
            service.start()
            service.wait_for("RUNNING")
            log = case.jvm_log()
            self.assertEqual(log.main_arguments(), [])
            # "Output File" is relative: the service's working directory is the executable's folder.
            self.assertTrue(case.path("out.txt").exists())
            service.stop()
            status = service.wait_for("STOPPED")
            self.assertEqual((status["win32"], status["specific"]), (0, 0))
        log = case.jvm_log()
        self.assertTrue(log.has("System.exit 0"), log.events)
        self.assertTrue(log.has("exit hook 0"), log.events)
        self.assertEqual(log.problems(), [])
        self.assertEqual(error_lines(case), [])

    def test_the_stop_method_runs_and_the_applications_exit_code_is_the_services(self):
        # (what, "Service Stop Method", the class's extra static method and its steps, main's steps,
        #  Win32 exit code, service-specific exit code, what the log shows)
        rows = [
            ("String[] method ends with System.exit 3", "com.example.App.halt",
             ["static = halt([Ljava/lang/String;)V", "static.step = exit 3"], None,
             SERVICE_SPECIFIC_ERROR, 3, "halt exit 3"),
            ("no-argument method lets main return", "com.example.App.halt",
             ["static = halt()V", "static.step = touch {flag}"], None, 0, 0, "halt touch"),
            ("main ends with 5 after the stop method", "com.example.App.halt",
             ["static = halt()V", "static.step = touch {flag}"], ["waitfile {flag}", "exit 5"],
             SERVICE_SPECIFIC_ERROR, 5, "main exit 5"),
        ]
        for what, method, static, steps, win32, specific, logged in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                flag = case.win("stop.flag").replace("\\", "\\\\")
                service_app(case, {"Service Stop Method": method},
                            static=[line.replace("{flag}", flag) for line in static],
                            main_steps=None if steps is None else [s.replace("{flag}", flag) for s in steps])
                with self.service(case) as service:
                    service.start()
                    service.wait_for("RUNNING")
                    service.stop()
                    status = service.wait_for("STOPPED")
                    self.assertEqual((status["win32"], status["specific"]), (win32, specific))
                log = case.jvm_log()
                self.assertTrue(log.has(logged), log.events)
                self.assertFalse(log.has("System.exit 0"), log.events)
                self.assertEqual(log.problems(), [])
                self.assertEqual(error_lines(case), [])

    def test_a_stop_the_application_ignores_ends_at_the_timeout(self):
        case = self.case()
        service_app(case, {"Service Stop Method": "com.example.App.halt", "Service Stop Timeout": "2"},
                    static=["static = halt()V", "static.step = out ignored"])
        with self.service(case) as service:
            service.start()
            service.wait_for("RUNNING")
            service.stop()
            status = service.wait_for("STOPPED", timeout=30)
            self.assertEqual(status["win32"], SERVICE_REQUEST_TIMEOUT)
        self.assertTrue(case.jvm_log().has("halt out \"ignored\""))
        self.assertEqual(error_lines(case), [message(264, 2)])

    def test_unusable_stop_settings_are_reported_and_defaults_stand_in(self):
        # (what, settings, the class's extra static method, the messages, in order)
        rows = [
            ("malformed method", {"Service Stop Method": "halt()"}, [], [message(259, "halt()")]),
            ("missing class", {"Service Stop Method": "com.example.Gone.halt"}, [],
             [message(261, "com.example.Gone", "com.example.Gone.halt")]),
            ("missing method", {"Service Stop Method": "com.example.App.halt"}, [],
             [message(262, "com.example.App.halt")]),
            ("method of the wrong shape", {"Service Stop Method": "com.example.App.halt"},
             ["static = halt(I)V"], [message(262, "com.example.App.halt")]),
            ("method that throws", {"Service Stop Method": "com.example.App.halt"},
             ["static = halt()V", "static.step = throw java.lang.IllegalStateException: no"],
             [message(263, "com.example.App.halt", "java.lang.IllegalStateException: no")]),
            ("text timeout", {"Service Stop Timeout": "ten"}, [], [message(260, "ten", 3600, 20)]),
            ("zero timeout", {"Service Stop Timeout": "0"}, [], [message(260, "0", 3600, 20)]),
            ("negative timeout", {"Service Stop Timeout": "-5"}, [], [message(260, "-5", 3600, 20)]),
            ("huge timeout", {"Service Stop Timeout": "99999999999"}, [], [message(260, "99999999999", 3600, 20)]),
        ]
        for what, settings, static, messages in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                service_app(case, settings, static=static)
                with self.service(case) as service:
                    service.start()
                    service.wait_for("RUNNING")
                    service.stop()
                    status = service.wait_for("STOPPED")
                    # Whatever was unusable, the stop ends the application as System.exit(0) would.
                    self.assertEqual((status["win32"], status["specific"]), (0, 0))
                self.assertTrue(case.jvm_log().has("System.exit 0"))
                self.assertEqual(error_lines(case), messages)

    def test_a_failed_launch_stops_the_service_with_a_failure_and_a_message(self):
        def no_runtime(case):
            install_discovering_app(case, {"Java Runtime Environment": {"JRE Path": case.win("missing")},
                                           "Application": {"Application Type": "service",
                                                           "Error File": case.win("err.txt")}})

        def no_main_method(case):
            service_app(case, scenario_text=scenario(has_main=False))

        def creation_fails(case):
            service_app(case, scenario_text=scenario(vm=["create = -1"]))

        rows = [
            ("no runtime", no_runtime, FAILURE, "app: The Java Runtime Environment (JRE) was not found."),
            ("no main method", no_main_method, FAILURE, message(216)),
            ("creation fails", creation_fails, FAILURE, "app: JNI exception: failed to create the Java VM"),
        ]
        for what, install, specific, first_line in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                install(case)
                with self.service(case) as service:
                    service.start()
                    status = service.wait_for("STOPPED")
                    self.assertEqual((status["win32"], status["specific"]), (SERVICE_SPECIFIC_ERROR, specific))
                # The VM's own report of an exception may stand before the launcher's line.
                lines = [line for line in error_lines(case) if line.startswith("app: ")]
                self.assertEqual(len(lines), 1, error_lines(case))
                self.assertTrue(lines[0].startswith(first_line), lines)

    def test_the_console_launcher_runs_as_a_service_too(self):
        case = self.case()
        service_app(case)
        case.install_launcher("app.exe", source=BIN / "jlaunchc.exe")
        with self.service(case) as service:
            service.start()
            service.wait_for("RUNNING")
            service.stop()
            status = service.wait_for("STOPPED")
            self.assertEqual((status["win32"], status["specific"]), (0, 0))
        self.assertTrue(case.jvm_log().has("System.exit 0"))


class ServiceInstallLine(WineTestCase):
    def test_the_line_jlaunch_pack_prints_registers_a_service_in_a_folder_with_blanks(self):
        case = Case(self.session, "service with blanks")
        service_app(case)
        exe = case.win("app.exe")
        printed = self.session.wine(str(BIN / "jlaunch-pack.exe"), "--service-line", exe, "jl blanks")
        line = printed.stdout.decode("utf-8").strip()
        self.assertEqual(line, f'sc.exe create "jl blanks" binPath= "\\"{exe}\\"" start= auto')
        # As a packager runs it: in a batch file, through the command interpreter.
        case.path("install.cmd").write_text(line + "\r\n", encoding="ascii")
        installed = self.session.wine("cmd", "/c", case.win("install.cmd"))
        self.assertEqual(installed.returncode, 0, installed.stdout)
        service = Service(self.session, "jl blanks", exe)
        try:
            service.start()
            service.wait_for("RUNNING")
            self.assertEqual(case.jvm_log().main_arguments(), [])
        finally:
            service.__exit__(None, None, None)
        self.assertEqual(service.query()["state"], None, "deleted")


class ServiceEventLog(WineTestCase):
    def test_messages_go_to_the_event_log_under_the_executables_name(self):
        # Wine's ReportEventW only traces the message (docs/wine-notes.md): services.exe and the
        # services it starts write that trace where the session's first program had its stderr.
        case = self.case()
        install_discovering_app(case, {"Java Runtime Environment": {"JRE Path": case.win("missing")},
                                       "Application": {"Application Type": "service"}})
        for suffix in ("exe", "ini"):
            case.path(f"app.{suffix}").rename(case.path(f"daemon.{suffix}"))
        trace_path = self.output("service-event-log-trace.txt")
        try:
            with open(trace_path, "wb") as trace:
                self.session.restart({"WINEDEBUG": "-all,err+eventlog,fixme+advapi"}, stderr=trace)
            with Service(self.session, "jl-event-log", case.win("daemon.exe")) as service:
                service.start()
                status = service.wait_for("STOPPED")
                self.assertEqual((status["win32"], status["specific"]), (SERVICE_SPECIFIC_ERROR, FAILURE))
        finally:
            self.session.restart()
        trace = trace_path.read_text(encoding="utf-8", errors="replace")
        self.assertIn('RegisterEventSourceW ((null),L"daemon")', trace)
        self.assertIn('err:eventlog:ReportEventW L"The Java Runtime Environment (JRE) was not found.', trace)


class ServiceOnTheRealVm(RealVmTestCase):
    def test_a_stop_runs_the_shutdown_hooks_or_the_stop_method(self):
        # (what, "Service Stop Method", main's exit code after stop(), marks, service-specific exit code)
        rows = [
            ("System.exit(0)-like", "", "", {"main-started", "hook-ran"}, 0),
            ("stop method, main returns", "e2e.Service.stop", "", {"main-started", "main-returns", "hook-ran"}, 0),
            ("stop method, main exits with 9", "e2e.Service.stop", " 9", {"main-started", "main-returns", "hook-ran"}, 9),
        ]
        for what, method, exit_argument, marks, specific in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                case.path("marks").mkdir()
                install_real_app(case, main_class="e2e.Service",
                                 settings={"Application": {"Application Type": "service",
                                                           "Service Stop Method": method,
                                                           "Cmd": case.win("marks") + exit_argument}})
                with Service(self.session, f"jl-real-{case.name}"[:60], case.win("app.exe")) as service:
                    service.start()
                    service.wait_for("RUNNING")
                    # "running" is told just before main is called: a stop before main's first
                    # line would be a fair stop, but leave nothing to see here.
                    deadline = time.monotonic() + 30
                    while not case.path(r"marks\main-started").exists() and time.monotonic() < deadline:
                        time.sleep(0.05)
                    stop_code, stop_output = service.stop()
                    self.assertEqual(stop_code, 0, stop_output)
                    status = service.wait_for("STOPPED")
                    self.assertEqual((status["win32"], status["specific"]),
                                     (SERVICE_SPECIFIC_ERROR if specific else 0, specific))
                self.assertEqual({p.name for p in case.path("marks").iterdir()}, marks)
