"""Runtimes named by the environment (JAVA_HOME, and the java.exe first on PATH) and the registry
keys of more vendors. For each set-up, what jlaunch-explain says of every candidate is held against
what the launcher then loads. Both programs get the variables from Wine's own environment; a PATH
set in the registry would reach them cut to about a thousand characters (docs/wine-notes.md)."""
import contextlib
import json
import os
import shutil

from harness.apps import install_discovering_app, loaded_libraries
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE
from harness.real_vm import RealVmTestCase, console_file_report, install_real_app, install_real_runtime
from harness.registry import NATIVE, registered
from test_runtime_discovery import SERVER, add_runtime

CANCEL = ["press:2"]  # in the runtime-not-found dialog


def runtime(case, home, version=None):
    """A runtime folder with the jvm.dll double, a java.exe and, when given, its release file."""
    add_runtime(case, home, SERVER)
    case.path(f"{home}\\bin\\java.exe").write_bytes(b"MZ")
    if version:
        case.path(f"{home}\\release").write_text(f'IMPLEMENTOR="Test"\nJAVA_VERSION="{version}"\n')
    return case.win(home)


def linked_java(case, home):
    """A folder holding only a link to the runtime's java.exe, as some installers put on PATH."""
    case.path("javapath").mkdir()
    os.symlink(case.path(f"{home}\\bin\\java.exe"), case.path(r"javapath\java.exe"))
    return case.win("javapath")


def long_path(last):
    """A PATH of some 30,000 characters, empty and quoted entries among them, then the folder given."""
    return ';;"C:\\no such folder";' * 1400 + f'"{last}"'


def windows_variables(variables):
    """PATH as Wine takes it from its own environment: WINEPATH goes in front of the system's."""
    return {("WINEPATH" if name == "PATH" else name): value for name, value in variables.items()}


def x86_runtime(case):
    home = runtime(case, "x86", "17")
    shutil.copyfile(BIN / "fixtures" / "jvm-x86.dll", case.path(f"x86\\{SERVER}"))
    return home


def empty_home_then_path(case):
    case.path("empty").mkdir()
    return {"JAVA_HOME": case.win("empty"), "PATH": runtime(case, "jdk11", "11.0.21") + r"\bin"}, []


def link_on_path(case):
    runtime(case, "jdk17", "17")
    return {"PATH": linked_java(case, "jdk17")}, []


def big_release_and_x86(case):
    home = runtime(case, "big")
    case.path(r"big\release").write_bytes(os.urandom(10 << 20))
    return {"JAVA_HOME": home, "PATH": x86_runtime(case) + r"\bin"}, []


# (what, settings of "Java Runtime Environment", set-up returning (variables, registry entries),
#  the folder whose library loads (None: the runtime-not-found dialog), what explain says of each source)
ROWS = [
    ("JAVA_HOME alone", {}, lambda c: ({"JAVA_HOME": runtime(c, "jdk17", "17.0.9")}, []),
     r"jdk17\bin\server", {"javaHome": "chosen"}),
    ("JAVA_HOME at a folder without a runtime falls through to PATH", {}, empty_home_then_path,
     r"jdk11\bin\server", {"javaHome": "noJvmLibrary", "path": "chosen"}),
    ("java.exe on PATH through a link folder", {}, link_on_path,
     r"jdk17\bin\server", {"javaHome": "notConfigured", "path": "chosen"}),
    ("too old for the version limits", {"Minimum Version": "11"},
     lambda c: ({"JAVA_HOME": runtime(c, "jdk8", "1.8.0_392")}, []),
     None, {"javaHome": "outsideLimits", "path": "noJavaOnPath"}),
    ("first: before a registry runtime", {"Environment Runtimes": "first"},
     lambda c: ({"JAVA_HOME": runtime(c, "jdk17", "17")}, [("oracle_jdk", "21", runtime(c, "reg21"), NATIVE)]),
     r"jdk17\bin\server", {"javaHome": "chosen"}),
    ("no: neither is searched", {"Environment Runtimes": "no"},
     lambda c: ({"JAVA_HOME": runtime(c, "jdk17", "17"), "PATH": runtime(c, "jdk11", "11") + r"\bin"}, []),
     None, {"javaHome": None, "path": None}),
    ("quoted, with a trailing backslash", {},
     lambda c: ({"JAVA_HOME": f'"{runtime(c, "jdk17", "17")}\\"'}, []),
     r"jdk17\bin\server", {"javaHome": "chosen"}),
    ("naming a file, then a long PATH", {},
     lambda c: ({"JAVA_HOME": c.win(r"jdk11\release"), "PATH": long_path(runtime(c, "jdk11", "11") + r"\bin")},
                []),
     r"jdk11\bin\server", {"javaHome": "noFolder", "path": "chosen"}),
    ("a 10 MB release file without a version, under limits; a 32-bit runtime without a paired launcher",
     {"Maximum Version": "21"}, big_release_and_x86,
     None, {"javaHome": "versionUnknown", "path": "x86WithoutPairLauncher"}),
    ("relative", {},
     lambda c: ({"JAVA_HOME": "jdk17", "PATH": runtime(c, "jdk17", "17") + r"\bin"}, []),
     r"jdk17\bin\server", {"javaHome": "relativePath", "path": "chosen"}),
    ("32,000 characters long", {"Environment Runtimes": "first"},
     lambda c: ({"JAVA_HOME": "C:\\" + "x" * 32000}, [("oracle_jdk", "21", runtime(c, "reg21"), NATIVE)]),
     r"reg21\bin\server", {"javaHome": "noFolder", "path": "noJavaOnPath", "registry": "chosen"}),
    ("SapMachine's JDK key", {}, lambda c: ({}, [("sapmachine_jdk", "21.0.1", runtime(c, "sm21"), NATIVE)]),
     r"sm21\bin\server", {"registry": "chosen"}),
    ("SapMachine's JRE key", {}, lambda c: ({}, [("sapmachine_jre", "17.0.9", runtime(c, "smre17"), NATIVE)]),
     r"smre17\bin\server", {"registry": "chosen"}),
]


class EnvironmentRuntimes(WineTestCase):
    def test_each_source_as_explained_and_as_loaded(self):
        for index, (what, settings, set_up, expected, outcomes) in enumerate(ROWS):
            with self.subTest(what):
                case = self.case(f"-{index}")
                install_discovering_app(case, {"Java Runtime Environment": settings})
                variables, runtimes = set_up(case)
                variables = windows_variables(variables)
                with registered(self.session, case, runtimes) if runtimes else contextlib.nullcontext():
                    done = self.session.wine(str(BIN / "jlaunch-explain.exe"), "--json", case.win("app.exe"),
                                             variables=variables)
                    run = case.run(windows=CANCEL, variables=variables)
                account = json.loads(done.stdout.decode("utf-8"))
                said = {s["source"]: s["outcome"] for s in account["runtime"]["sources"]}
                self.assertEqual({source: said.get(source) for source in outcomes}, outcomes)
                if expected is None:
                    self.assertEqual((done.returncode, run.exit_code, loaded_libraries(case)), (1, FAILURE, []))
                    continue
                self.assertEqual((done.returncode, run.exit_code, run.windows), (0, 0, []))
                self.assertEqual(loaded_libraries(case), [expected])
                self.assertEqual(account["runtime"]["jvmLibrary"], case.win(f"{expected}\\jvm.dll"))

    def test_the_text_report_names_each_rejection(self):
        case = self.case()
        install_discovering_app(case, {"Java Runtime Environment": {"Minimum Version": "11"}})
        text = self.session.wine(str(BIN / "jlaunch-explain.exe"), case.win("app.exe"),
                                 variables={"JAVA_HOME": runtime(case, "jdk8", "1.8.0_392")}).stdout.decode("utf-8")
        self.assertIn('JAVA_HOME: its version lies outside "Minimum Version" and "Maximum Version" '
                      f'({case.win("jdk8")}\\), version 1.8.0.392', text)
        self.assertIn("java.exe on PATH: no folder of PATH holds a java.exe", text)


class EnvironmentRuntimeOnTheRealVm(RealVmTestCase):
    def test_a_runtime_known_only_from_java_home_runs_java(self):
        case = self.case()
        install_real_app(case)
        home = install_real_runtime(case, "jhome")
        with open(case.path(r"jhome\release"), "w") as release:
            release.write('JAVA_VERSION="1.8.0"\n')
        # Only JAVA_HOME names the VM: no "JRE Path".
        case.write_ini({"Java Runtime Environment": {"Main Class": "e2e.Console"},
                        "Class Path": {"Class Path": case.win("e2e-apps.jar")},
                        "Application": {"Output File": case.win("out.txt")}})
        run = case.run("hello", variables={"JAVA_HOME": home})
        self.assertEqual((run.exit_code, run.windows), (0, []))
        self.assertEqual(console_file_report(case.path("out.txt")), ["main 1", "arg 0 hello", "main returns"])
