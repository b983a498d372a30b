"""The taskbar identity ("App User Model ID") and the restart an application
asks for by its exit code ("Restart Exit Codes")."""
import re
import shutil
import time

from harness import images
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN
from harness.real_vm import RealVmTestCase, console_file_report, install_real_app
from expected_texts import ENGLISH
from test_launch_modes import install_jar_app, jar_section, manifest
from test_single_instance import block_holds, in_scenario, wait_until

# Wine keeps no identity (its Get answers E_NOTIMPL) but traces each call to
# set one; the window channel traces each window made.
IDENTITY_TRACE = {"WINEDEBUG": "fixme+shcore,trace+win"}
SET_IDENTITY = re.compile(r'SetCurrentProcessExplicitAppUserModelID L"([^"]*)"')
CREATE_WINDOW = re.compile(r"trace:win:\w*CreateWindowEx")


def identities_set(run):
    return SET_IDENTITY.findall(run.stderr)


class TaskbarIdentity(WineTestCase):
    def test_the_identity_is_set_before_the_first_window(self):
        case = self.case()
        images.quadrant_image(case.path("splash.bmp"))
        install_app(case, {"Application": {"App User Model ID": "Acme.Editor.2"},
                           "Display": {"Splash Screen": case.win("splash.bmp")}},
                    scenario(main_steps=["sleep 300"]))
        run = case.run(variables=IDENTITY_TRACE)
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(identities_set(run), ["Acme.Editor.2"])
        first_window = CREATE_WINDOW.search(run.stderr)
        self.assertIsNotNone(first_window, "the splash window was not traced")
        self.assertLess(SET_IDENTITY.search(run.stderr).start(), first_window.start())

    def test_the_companion_sets_the_same_identity(self):
        case = self.case()
        identity = {"App User Model ID": "Acme.Editor"}
        shutil.copyfile(BIN / "jlaunch.exe", case.path("app32.exe"))
        case.path(r"x86\bin\server").mkdir(parents=True)
        shutil.copyfile(BIN / "fixtures" / "jvm-x86.dll", case.path(r"x86\bin\server\jvm.dll"))
        install_app(case, {"Application": {**identity, "Pair Product": case.win("app32.exe"), "Pair Return Code": "yes"},
                           "Java Runtime Environment": {"JRE Path": case.win("x86")}},
                    scenario(main_steps=["exit 6"]))
        # The companion reads its own settings: those of app32.exe, naming the x64 runtime.
        case.write_ini({"Application": identity,
                        "Java Runtime Environment": {"Main Class": "com.example.App", "JRE Path": case.win("rt")},
                        "Class Path": {"Class Path": case.win("app.jar")}}, name="app32.ini")
        run = case.run(variables=IDENTITY_TRACE)
        self.assertEqual(run.exit_code, 6, "the companion's application did not run")
        self.assertEqual(identities_set(run), ["Acme.Editor", "Acme.Editor"])

    def test_an_identity_windows_refuses_is_reported_once_and_the_launch_goes_on(self):
        long_id = "a" * 10000
        rows = [("Acme Editor", ENGLISH[243].replace("%s", "Acme Editor")),
                (long_id, ENGLISH[242].replace("%d", "128"))]
        for identity, text in rows:
            with self.subTest(identity=identity[:12]):
                case = self.case(f"-{len(identity)}")
                install_app(case, {"Application": {"App User Model ID": identity}}, scenario(main_steps=["exit 4"]))
                run = case.run(windows=["press:2"], variables=IDENTITY_TRACE)
                self.assertEqual(run.exit_code, 4)
                self.assertEqual([run.box_text(i) for i in range(len(run.windows))], [text])
                self.assertEqual(identities_set(run), [])


def restarts(log):
    return [e for e in log.events if e.startswith("System.exit ")]


class RestartOnDouble(WineTestCase):
    def test_an_unlisted_code_passes_through_whatever_else_the_list_holds(self):
        case = self.case()
        install_app(case, {"Application": {"Restart Exit Codes": "abc; ;4294967295;-7;3;" + ";".join(["9"] * 10000)}},
                    scenario(main_steps=["exit 4"]))
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (4, []))
        self.assertEqual(restarts(case.jvm_log()), ["System.exit 4"])

    def test_restarts_stop_at_the_fifth_within_a_minute(self):
        case = self.case()
        install_app(case, {"Application": {"Restart Exit Codes": "3"}}, scenario(main_steps=["exit 3"]))
        self.assertEqual(case.run().exit_code, 0)
        # The first launch and five restarts; the last passes its code through.
        wait_until(lambda: case.jvm_log().has("exit hook returned"), "the last of the restarts")
        time.sleep(1)
        log = case.jvm_log()
        self.assertEqual(restarts(log), ["System.exit 3"] * 6)
        self.assertEqual(log.events.count("exit hook returned"), 1)

    def test_a_later_start_during_a_restart_reaches_the_one_instance_left(self):
        case = self.case()
        go = case.win("go")
        # The first instance ends while its main class is looked up: the
        # later start's arguments are taken but main has not started.
        jar = jar_section(manifest("com.example.App"), f"helper.step = waitfile {in_scenario(go)}", "helper.step = exit 3")
        install_jar_app(case, "secondaryMain = void", *jar, settings={
            "Application": {"Single Instance": "yes", "Restart Exit Codes": "3"}})
        first = case.start("first", timeout_ms=120000)
        wait_until(lambda: case.jvm_log().has("waitfile"), "the first instance's main class lookup")
        later = case.start("later", timeout_ms=120000)
        wait_until(lambda: block_holds(case, ["later"]), "the later start's hand-over")
        time.sleep(0.5)  # for the first instance to take it
        # Who comes next runs main until "stop" exists.
        stop = case.win("stop")
        scenario_file = case.path(r"rt\bin\server\jvm.scenario")
        scenario_file.write_text(scenario("secondaryMain = void", *jar_section(manifest("com.example.App")),
                                          main_steps=[f"waitfile {in_scenario(stop)}"]), encoding="utf-8")
        case.path("go").touch()
        self.assertEqual(first.result().exit_code, 0)
        # Both the restarted instance's arguments and the later start's reach the one that runs.
        wait_until(lambda: {"first", "later"} <= set(self.received(case)), "both starts' arguments")
        # The later start handed over to the restarted instance, or took the role itself.
        case.path("stop").touch()
        self.assertEqual(later.result().exit_code, 0)
        wait_until(lambda: case.jvm_log().events.count("DestroyJavaVM -> 0") == 1, "the one instance left to end")
        log = case.jvm_log()
        self.assertEqual(len(log.with_prefix("loaded ")), 2, "more than one instance after the first ran")
        self.assertEqual(sorted(self.received(case)), ["first", "later"])

    @staticmethod
    def received(case):
        log = case.jvm_log()
        return [a for args in log.all_arguments("main") + log.all_arguments("secondaryMain") for a in args]


class RestartOnRealVm(RealVmTestCase):
    def test_runs_again_with_the_same_arguments_and_working_directory(self):
        case = self.case()
        install_real_app(case, {"Application": {"Restart Exit Codes": "3"}})
        runs = case.win("runs.txt")
        case.path("work").mkdir()
        run = case.run(f'"a b" --runs={runs}:3:3', cwd=case.win("work"))
        self.assertEqual(run.exit_code, 0)
        wait_until(lambda: "main returns" in console_file_report(case.path("out.txt")), "the third run to end")
        lines = console_file_report(case.path("runs.txt"))
        self.assertEqual(lines, [f"{case.win('work')} a b --runs={runs}:3:3"] * 3)
