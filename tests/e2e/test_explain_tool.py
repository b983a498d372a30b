"""jlaunch-explain: what it says a launcher will do, checked against what the launcher then does
with the jvm.dll double."""
import contextlib
import json
import shutil

from expected_texts import ENGLISH
from harness.apps import install_app, install_discovering_app, loaded_libraries, scenario
from harness.base import WineTestCase
from harness.jvm_log import JvmLog
from harness.launch import BIN, FAILURE
from harness.registry import NATIVE, registered
from test_runtime_discovery import CLIENT, SERVER, add_runtime, registrations
from test_single_instance import in_scenario, wait_until

ARGUMENTS = ["one", "-nosplash", "two"]


def jre_path(case):
    install_app(case, {"Application": {"Cmd": '-c "%JL_JVM_HOME%\\x y"'},
                       "Application+": {"Cmd": "plus"},
                       "Java Runtime Environment": {
                           "Library Path": "native", "System Path": r"C:\tools",
                           "Virtual Machine Parameters": '-Xmx50:64:128P -Xss4m "-Dhome=%JL_JVM_HOME%"'},
                       "Class Path": {"Class Path": r"\*.jar;C:\shared\x.jar"}})
    return []


def private_runtime(case):
    install_discovering_app(case, {"Java Runtime Environment": {"JVM Type": "server"}})
    add_runtime(case, ".", SERVER, marker=True)
    return []


REGISTERED = [("sun_jre", "9", "jre9", CLIENT, NATIVE), ("sun_jre", "1.8", "jre8", CLIENT, NATIVE),
              ("sun_jre", "1.7.0_80", "jre7", SERVER, NATIVE), ("sun_jre", "1.5", "jre5", CLIENT, NATIVE)]


def registry_runtimes(case):
    install_discovering_app(case, {"Java Runtime Environment": {
        "Minimum Version": "1.6", "Maximum Version": "1.8", "Preferred versions": "1.4;1.7"}})
    # 1.6 names a home without a JVM library.
    return registrations(case, REGISTERED) + [("sun_jre", "1.6", case.win("empty"), NATIVE)]


def missing_main_class(case):
    install_app(case, {"Java Runtime Environment": {"Main Class": ""}})
    return []


def no_runtime(case):
    install_discovering_app(case, {"Java Runtime Environment": {"Minimum Version": "11"}})
    return []


class ExplainChecks:
    """Runs jlaunch-explain on a case's launcher, and holds what it said against a run of the launcher."""

    def explain(self, case, *arguments, json_output=True, variables=None):
        done = self.session.wine(str(BIN / "jlaunch-explain.exe"), *(["--json"] if json_output else []),
                                 case.win("app.exe"), *arguments, variables=variables)
        output = done.stdout.decode("utf-8")
        return done.returncode, json.loads(output) if json_output else output

    def check_against_the_run(self, case, code, account, run):
        outcome, vm = account["outcome"], account["vm"]
        folders = loaded_libraries(case)
        logs = [JvmLog(case.path(f"{folder}\\jvm.log")) for folder in folders]
        # The launcher loads the library before it assembles the options, which can still fail.
        self.assertEqual([case.win(f"{folder}\\jvm.dll") for folder in folders],
                         [vm["library"]["path"]] if vm and vm["library"]["load"] == "loads" else [])
        if outcome["result"] == "fails":
            self.assertEqual((code, run.exit_code, outcome["exitCode"]), (1, FAILURE, FAILURE))
            # The text of the error box, or the message of the runtime-not-found dialog.
            [shown] = [c["text"] for c in run.windows[0]["controls"] if c["id"] in (0xFFFF, 203)]
            self.assertEqual(outcome["message"], shown)
            self.assertFalse(any(log.has("JNI_CreateJavaVM") for log in logs))
            return
        self.assertEqual((code, outcome["result"], run.exit_code, run.windows), (0, "startsVm", 0, []))
        [log] = logs
        self.assertEqual(vm["options"], log.option_strings())
        self.assertEqual(account["mainArguments"], log.main_arguments())
        self.assertEqual(vm["environment"], {name: log.env(name) for name in ("JL_JVM_PATH", "JL_JVM_HOME", "Path")})
        self.assertEqual(account["runtime"]["jvmLibrary"], log.env("JL_JVM_PATH"))
        # The double logs 'System.setOut "<path>"' for a stream the launcher redirected.
        redirected = dict(event.split(" ", 1) for event in log.with_prefix("System.set"))
        self.assertEqual((vm["outputFile"], vm["errorFile"]),
                         tuple(json.loads(redirected.get(name, "null")) for name in ("System.setOut", "System.setErr")))
        if vm["threadStack"] is not None:
            self.assertEqual(vm["threadStack"], log.creation_stack_size(), "the stack the VM was created on")


class ExplainTool(ExplainChecks, WineTestCase):
    def test_it_tells_what_the_launcher_then_does(self):
        cancel = ["press:2"]  # in the runtime-not-found dialog
        rows = [("JRE Path", jre_path, "startsVm", []), ("private runtime", private_runtime, "startsVm", []),
                ("registry runtimes with limits and preferences", registry_runtimes, "startsVm", []),
                ("missing main class", missing_main_class, "fails", []),
                ("no runtime", no_runtime, "fails", cancel)]
        for index, (what, set_up, result, windows) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                runtimes = set_up(case)
                with registered(self.session, case, runtimes) if runtimes else contextlib.nullcontext():
                    code, account = self.explain(case, *ARGUMENTS)
                    run = case.run(" ".join(ARGUMENTS), windows=windows)
                self.assertEqual(account["outcome"]["result"], result)
                self.check_against_the_run(case, code, account, run)
                if what.startswith("registry"):
                    self.check_registry_verdicts(account)

    def check_registry_verdicts(self, account):
        [native] = account["runtime"]["registryPasses"]
        verdicts = {entry["subkey"]: entry["verdict"] for entry in native["entries"]}
        self.assertEqual(verdicts, {"9": "outsideLimits", "1.8": "candidate", "1.7.0_80": "candidate",
                                    "1.5": "outsideLimits", "1.6": "noJvmLibrary"})
        self.assertEqual([c["version"] for c in native["ranked"]], ["1.8", "1.7.0.80"])
        self.assertEqual((native["chosen"], native["reason"]), (1, "preferredVersion"))

    def test_single_instance_hands_over_the_arguments_it_names(self):
        case = self.case()
        install_app(case, {"Application": {"Single Instance": "yes"}},
                    scenario("secondaryMain = int", "secondaryMain.result = argument",
                             main_steps=[f"waitfile {in_scenario(case.win('go'))}"]))
        code, account = self.explain(case, "5", "b")
        self.assertEqual((code, account["outcome"]["result"]), (0, "startsVm"))
        self.assertIsNone(account["singleInstance"]["firstInstance"])

        first = case.start(timeout_ms=120000)
        wait_until(lambda: case.jvm_log().has("com/example/App.main("), "main of the first instance")
        code, account = self.explain(case, "5", "b")
        self.assertEqual((code, account["outcome"]["result"], account["runtime"]), (0, "handsOver", None))
        self.assertTrue(account["singleInstance"]["firstInstance"]["running"])
        self.assertEqual(case.run("5 b").exit_code, 5)
        self.assertEqual(case.jvm_log().all_arguments("secondaryMain"), [account["arguments"]])
        case.path("go").touch()
        self.assertEqual(first.result().exit_code, 0)

    def test_the_text_report_names_the_message_and_each_source_tried(self):
        case = self.case()
        no_runtime(case)
        code, text = self.explain(case, json_output=False)
        self.assertEqual(code, 1)
        self.assertIn('"' + ENGLISH[207].replace("%s", ENGLISH[219].replace("%s", "11.0")) + '"', text)
        for source in ('"JRE Path": not configured', "private runtime: no bin\\java.dll beside the executable",
                       "registry: no runtime qualifies", "registry, 32-bit view: not configured"):
            self.assertIn(source, text)
        self.assertIn("in its dialog", text)
        # The console launcher has no dialog: it says where it looked and ends.
        shutil.copyfile(BIN / "jlaunchc.exe", case.path("app.exe"))
        code, text = self.explain(case, json_output=False)
        self.assertEqual(code, 1)
        self.assertIn("the console launcher writes this message and where it looked to standard error", text)
        self.assertNotIn("in its dialog", text)
