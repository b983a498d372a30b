"""jlaunch-explain against the launcher over set-ups drawn from a seed: registered runtimes in both
views, "JRE Path", JAVA_HOME, version limits and preferences, the paired launcher, VM parameters, the
command, the class path, stream files and arguments. Each set-up is named by its seed, so a failing one can
be built again."""
import contextlib
import random
import shutil

from harness.apps import install_discovering_app, loaded_libraries
from harness.base import WineTestCase
from harness.launch import BIN
from harness.registry import LAYOUTS, NATIVE, WOW32, registered
from test_explain_tool import ExplainChecks
from test_runtime_discovery import CLIENT, SERVER, add_runtime
from test_single_instance import wait_until

SEEDS = range(20)
VERSIONS = ["1.6", "1.7.0_80", "1.8", "9", "11", "17"]
LIBRARIES = [CLIENT, SERVER, "x86", None]  # the double at either location, the 32-bit library, none
RUNTIME_KEYS = {  # None leaves the key out
    "Minimum Version": [None, None, "1.7", "9"],
    "Maximum Version": [None, None, "1.8", "11"],
    "Preferred versions": [None, None, "1.6;1.8", "11"],
    "JVM Type": [None, "server", "favor_server"],
    "JVM Source": [None, "only_JRE", "only_JDK"],
    "Environment Runtimes": [None, None, "first", "no"],
    "Virtual Machine Parameters": [None, '-Xmx50:64:128P -Xss4m "-Dhome=%JL_JVM_HOME%"',
                                   '"-Dq=a b" -Xss1m -Dlib=%JL_JVM_HOME%\\lib'],
}
COMMANDS = [None, '-c "%JL_JVM_HOME%\\x y"', "plain"]
ARGUMENTS = [[], ["one"], ["-nosplash", "one", "two"], ["a b", "c"]]


def runtime_home(case, home, library):
    if library is None:
        case.path(f"{home}\\bin").mkdir(parents=True)
        return
    add_runtime(case, home, SERVER if library == "x86" else library)
    if library == "x86":
        shutil.copyfile(BIN / "fixtures" / "jvm-x86.dll", case.path(f"{home}\\{SERVER}"))


def set_up(case, rng):
    """Builds a drawn set-up: returns (its settings, its registry entries, the arguments, the exit
    code a run of the companion ends with, the environment variables of both programs)."""
    runtime = {key: value for key, values in RUNTIME_KEYS.items() if (value := rng.choice(values))}
    jre_path = rng.choice(["absent", "absent", CLIENT, SERVER, "x86", "x86", None])
    if jre_path != "absent":
        runtime_home(case, "jp", jre_path)
        runtime["JRE Path"] = case.win("jp")
    application, pair_exit = {}, None
    if rng.random() < 0.5:
        shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("app32.exe"))
        application["Pair Product"] = case.win("app32.exe")
        pair_exit = rng.choice([0, 3])
        if pair_exit:
            application["Pair Return Code"] = "Yes"
    if command := rng.choice(COMMANDS):
        application["Cmd"] = command
    for key, file in (("Output File", case.win("out.txt")), ("Error File", "%JL_JVM_HOME%\\..\\err.txt")):
        if rng.random() < 0.3:
            application[key] = file
    class_path, jar_in_lib = rng.choice([(case.win("app.jar"), False), (r"\*.jar", False), (r"\lib\*.jar", True),
                                         (r"\lib\*.jar", True), (r"\lib\*.jar", False)])
    if jar_in_lib:
        case.path("lib").mkdir()
        case.path(r"lib\a.jar").write_bytes(b"")
    settings = {"Application": application, "Java Runtime Environment": runtime,
                "Class Path": {"Class Path": class_path}}
    if rng.random() < 0.3:
        settings["Application+"] = {"Cmd": "plus"}
    runtimes = []
    for index in range(rng.randint(0, 3)):
        runtime_home(case, f"r{index}", rng.choice(LIBRARIES))
        runtimes.append((rng.choice(sorted(LAYOUTS)), rng.choice(VERSIONS), case.win(f"r{index}"),
                         rng.choice([NATIVE, WOW32])))
    install_discovering_app(case, settings)
    java_home = rng.choice(["absent", "absent", CLIENT, SERVER, "x86", None])
    variables = {}
    if java_home != "absent":
        runtime_home(case, "jh", java_home)
        variables["JAVA_HOME"] = case.win("jh")
    return settings, runtimes, rng.choice(ARGUMENTS), pair_exit, variables


class ExplainAgrees(ExplainChecks, WineTestCase):
    def test_explain_predicts_each_drawn_set_up(self):
        results = set()
        for seed in SEEDS:
            case = self.case(f"-{seed}")
            settings, runtimes, arguments, pair_exit, variables = set_up(case, random.Random(seed))
            with self.subTest(seed=seed, settings=settings, runtimes=runtimes, arguments=arguments,
                              variables=variables):
                with registered(self.session, case, runtimes) if runtimes else contextlib.nullcontext():
                    code, account = self.explain(case, *arguments, variables=variables)
                    # Cancel in the runtime-not-found dialog; an error box closes on it too.
                    run = case.run(" ".join(f'"{a}"' if " " in a else a for a in arguments), windows=["press:2"],
                                   variables=variables)
                results.add(account["outcome"]["result"])
                if account["outcome"]["result"] != "runsPairLauncher":
                    self.check_against_the_run(case, code, account, run)
                    continue
                self.assertEqual((code, run.exit_code, run.windows, loaded_libraries(case)), (0, pair_exit, [], []))
                wait_until(lambda: case.path("app32.exe.cmdline").exists(), "the companion's run", timeout=20)
        self.assertEqual(results, {"startsVm", "fails", "runsPairLauncher"}, "the seeds miss an outcome")
