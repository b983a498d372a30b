"""Runtime discovery: "JRE Path", a private runtime, the registry in both views, and the
paired launcher that runs a 32-bit runtime. Every runtime folder holds its own copy of the
jvm.dll double, so the copy that wrote a log is the one the launcher loaded."""
import shutil
import time

from expected_texts import ENGLISH
from harness.apps import install_discovering_app, loaded_libraries, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE
from harness.real_vm import RealVmTestCase, console_report, install_real_app
from harness.registry import NATIVE, WOW32, registered

CLIENT, SERVER = r"bin\client\jvm.dll", r"bin\server\jvm.dll"
JRE_CLIENT = r"jre\bin\client\jvm.dll"


def add_runtime(case, home, location, marker=False):
    """A copy of the double at home\\location; with marker, also the "bin\\java.dll" of a runtime folder.
    Its main ends with System.exit: where IBM runtimes are allowed, nothing else ends the launch."""
    case.make_runtime(home=home, location=location, scenario=scenario(main_steps=["exit 0"]))
    if marker:
        case.path(f"{home}\\bin\\java.dll").write_bytes(b"")


def registrations(case, runtimes):
    """[(layout, version, home, location, view)]: folders made, registry entries returned."""
    for _, _, home, location, _ in runtimes:
        add_runtime(case, home, location)
    return [(layout, version, case.win(home), view) for layout, version, home, _, view in runtimes]


class RuntimeSources(WineTestCase):
    def test_jre_path_then_private_runtime_then_registry(self):
        rows = [
            ("JRE Path wins, even outside the limits", {"JRE Path": "jp", "Minimum Version": "9"},
             [("jp", CLIENT), (".", SERVER)], r"jp\bin\client"),
            ("a JRE Path without a library is passed over", {"JRE Path": "empty"},
             [(".", SERVER)], r"bin\server"),
            ("a private runtime in jre64", {}, [("jre64", SERVER)], r"jre64\bin\server"),
            ("the registry last", {}, [], r"reg8\bin\client"),
        ]
        for index, (what, runtime_settings, folders, expected) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                install_discovering_app(case, {"Java Runtime Environment": {
                    key: case.win(value) if key == "JRE Path" else value for key, value in runtime_settings.items()}})
                case.path(r"empty\bin").mkdir(parents=True)
                for home, location in folders:
                    add_runtime(case, home, location, marker=home != "jp")
                add_runtime(case, "reg8", CLIENT)
                with registered(self.session, case, [("sun_jre", "1.8", case.win("reg8"), NATIVE)]):
                    run = case.run()
                self.assertEqual((run.exit_code, run.windows), (0, []))
                self.assertEqual(loaded_libraries(case), [expected])


class RegistryChoice(WineTestCase):
    def test_settings_steer_the_choice_among_registered_runtimes(self):
        rows = [
            ("favor_JRE", {"JVM Source": "favor_JRE"},
             [("sun_jdk", "1.8", "jdk8", JRE_CLIENT, NATIVE), ("sun_jre", "1.6", "jre6", CLIENT, NATIVE)],
             r"jre6\bin\client"),
            ("a JDK's runtime is its jre folder", {},
             [("sun_jdk", "1.8", "jdk8", JRE_CLIENT, NATIVE), ("sun_jre", "1.6", "jre6", CLIENT, NATIVE)],
             r"jdk8\jre\bin\client"),
            ("favor_ibm", {"VM Provider": "favor_ibm"},
             [("sun_jre", "1.7", "jre7", CLIENT, NATIVE), ("ibm_jre", "1.5", "ibm5", CLIENT, NATIVE)],
             r"ibm5\bin\client"),
            ("only Sun by default", {},
             [("jrockit_jre", "1.8", "jr8", CLIENT, NATIVE), ("sun_jre", "1.6", "jre6", CLIENT, NATIVE)],
             r"jre6\bin\client"),
            ("server", {"JVM Type": "server"},
             [("sun_jre", "1.8", "jre8", CLIENT, NATIVE), ("sun_jre", "1.6", "jre6", SERVER, NATIVE)],
             r"jre6\bin\server"),
            ("limits", {"Minimum Version": "1.6", "Maximum Version": "1.6"},
             [("sun_jre", "1.7", "jre7", CLIENT, NATIVE), ("sun_jre", "1.6.0_45", "jre6", CLIENT, NATIVE),
              ("sun_jre", "1.5.0_22", "jre5", CLIENT, NATIVE)],
             r"jre6\bin\client"),
            ("Preferred versions", {"Preferred versions": "1.4;1.5"},
             [("sun_jre", "1.7", "jre7", CLIENT, NATIVE), ("sun_jre", "1.5.0_22", "jre5", CLIENT, NATIVE)],
             r"jre5\bin\client"),
            ("Adoptium", {},
             [("sun_jre", "1.8", "jre8", CLIENT, NATIVE), ("adoptium_jdk", "21.0.1.12", "temurin21", SERVER, NATIVE)],
             r"temurin21\bin\server"),
            ("Oracle 17", {},
             [("sun_jdk", "1.8", "jdk8", JRE_CLIENT, NATIVE), ("oracle_jdk", "17", "jdk17", SERVER, NATIVE)],
             r"jdk17\bin\server"),
            ("Registry Keys=classic", {"Registry Keys": "classic"},
             [("adoptium_jdk", "21.0.1.12", "temurin21", SERVER, NATIVE)], None),
            ("no 32-bit view without Pair Product", {}, [("sun_jre", "1.7", "x86jre7", CLIENT, WOW32)], None),
        ]
        for index, (what, runtime_settings, runtimes, expected) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                install_discovering_app(case, {"Java Runtime Environment": runtime_settings})
                with registered(self.session, case, registrations(case, runtimes)):
                    run = case.run(windows=["press:2"])
                titles = [w["title"] for w in run.windows]
                self.assertEqual((run.exit_code, titles), (0, []) if expected else (FAILURE, ["JRE Not Found"]))
                self.assertEqual(loaded_libraries(case), [expected] if expected else [])


class PairedLauncher(WineTestCase):
    def companion(self, case):
        shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("app32.exe"))
        return case.win("app32.exe")

    def companion_command_line(self, case, timeout=20):
        """What the companion recorded, waiting for it: without "Pair Return Code" the launcher does not."""
        record = case.path("app32.exe.cmdline")
        deadline = time.monotonic() + timeout
        while not record.exists() and time.monotonic() < deadline:
            time.sleep(0.1)
        return record.read_text(encoding="utf-16-le") if record.exists() else None

    def x86_app(self, case, application):
        add_runtime(case, "x86", SERVER)
        case.path(r"x86\bin\server\jvm.dll").write_bytes((BIN / "fixtures" / "jvm-x86.dll").read_bytes())
        install_discovering_app(case, {"Application": application,
                                       "Java Runtime Environment": {"JRE Path": case.win("x86")}})

    def test_a_32_bit_jre_path_runs_the_companion(self):
        for return_code, expected_exit in ((None, 0), ("yes", 3)):
            with self.subTest(pair_return_code=return_code):
                case = self.case(f"-{return_code}")
                companion = self.companion(case)
                application = {"Pair Product": companion}
                if return_code:
                    application["Pair Return Code"] = return_code
                self.x86_app(case, application)
                run = case.run("--one two")
                self.assertEqual((run.exit_code, run.windows), (expected_exit, []))
                command_line = self.companion_command_line(case)
                self.assertIsNotNone(command_line, "the companion did not run")
                # Its path alone (Wine puts it in quotes): none of the launcher's arguments.
                self.assertEqual(command_line.strip('"'), companion)

    def test_a_companion_that_cannot_start_is_reported(self):
        case = self.case()
        missing = case.win("missing32.exe")
        self.x86_app(case, {"Pair Product": missing})
        run = case.run()
        self.assertEqual(run.exit_code, FAILURE)
        self.assertEqual(run.box_text(), ENGLISH[202].replace("%s", missing).replace("%d", "2"))

    def test_the_32_bit_registry_view_only_when_the_native_one_has_nothing(self):
        rows = [
            ("native first", [("sun_jre", "1.8", "jre8", CLIENT, NATIVE), ("sun_jre", "1.7", "x86", CLIENT, WOW32)],
             0, r"jre8\bin\client", False),
            ("32-bit view for the companion", [("sun_jre", "1.7", "x86", CLIENT, WOW32)], 3, None, True),
        ]
        for index, (what, runtimes, exit_code, loaded, companion_ran) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                install_discovering_app(case, {"Application": {"Pair Product": self.companion(case),
                                                               "Pair Return Code": "Yes"}})
                with registered(self.session, case, registrations(case, runtimes)):
                    run = case.run()
                self.assertEqual((run.exit_code, run.windows), (exit_code, []))
                self.assertEqual(loaded_libraries(case), [loaded] if loaded else [])
                self.assertEqual(case.path("app32.exe.cmdline").exists(), companion_ran)


class DiscoveryOnTheRealVm(RealVmTestCase):
    def test_a_registered_runtime_starts_the_real_vm(self):
        case = self.case()
        install_real_app(case, {"Java Runtime Environment": {"JRE Path": ""}})
        with registered(self.session, case, [("adoptium_jdk", "17.0.8.101", case.win("rt"), NATIVE)]):
            run = case.run("found")
        self.assertEqual((run.exit_code, run.windows), (0, []))
        report = console_report(case.path("out.txt").read_text(encoding="latin-1"))
        self.assertEqual(report, ["main 1", "arg 0 found", "main returns"])
