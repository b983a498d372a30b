"""Single-instance operation: a later start hands its arguments to the running
first instance, whose secondaryMain receives them, and ends with the reply."""
import shutil
import time

from harness import images
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE, parse_events
from harness.real_vm import RealVmTestCase, console_report, install_real_app

SINGLE = {"Application": {"Single Instance": "yes"}}
BLOCK_SIZE = 2092
INT_BY_ARGUMENT = ("secondaryMain = int", "secondaryMain.result = argument")


def in_scenario(path):
    """A Windows path as a scenario value, its backslashes escaped."""
    return path.replace("\\", "\\\\")


def wait_until(condition, what, timeout=60):
    deadline = time.monotonic() + timeout
    while not condition():
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(0.05)


def block_holds(case, arguments, exe="app.exe"):
    """Whether the executable's instance block names a listener and holds
    these arguments, encoded as the hand-over writes them."""
    instance = case.win(exe).replace("\\", "_")
    done = case.session.wine(str(BIN / "jlprobe.exe"), "mapping", instance, str(BLOCK_SIZE))
    mapping = parse_events(done.stdout)[0]
    if not mapping["found"]:
        return False
    block = bytes.fromhex(mapping["bytes"])
    listener, message = int.from_bytes(block[0:4], "little"), int.from_bytes(block[8:12], "little")
    encoded = b"".join(a.encode("utf-16-le") + b"\0\0" for a in arguments) + b"\0\0"
    # Registered messages take ids from 0xC000 on.
    return listener != 0 and message >= 0xC000 and block[12:12 + len(encoded)] == encoded


class SingleInstanceOnDouble(WineTestCase):
    def start_first(self, case, *class_lines, vm=(), settings=SINGLE, main_steps=()):
        """The first instance, its main waiting until the case's file "go" exists."""
        install_app(case, settings, scenario(*class_lines, vm=vm,
                                             main_steps=[f"waitfile {in_scenario(case.win('go'))}", *main_steps]))
        first = case.start(timeout_ms=120000)
        if not vm:
            wait_until(lambda: case.jvm_log().has("com/example/App.main("), "main of the first instance")
        return first

    def end_first(self, case, first):
        case.path("go").touch()
        return first.result()

    def test_later_starts_end_with_what_secondary_main_returns(self):
        case = self.case()
        first = self.start_first(case, *INT_BY_ARGUMENT)
        table = [  # arguments, what secondaryMain receives (None: nothing), exit code
            ("5 b", ["5", "b"], 5),
            ("", [""], 0),
            ('7 "" c', ["7"], 7),  # an empty argument after another ends the list
            ('"" 8', ["", "8"], 0),
            ("-3 Grüße \U0001F600", ["-3", "Grüße", "\U0001F600"], 0xFFFFFFFD),
            ("1 " + "x" * 516, ["1", "x" * 516], 1),  # 1038 bytes with the zero units
            ("2 " + "x" * 517, None, FAILURE),  # 1040 bytes
        ]
        for arguments, _, code in table:
            with self.subTest(arguments=arguments[:12]):
                self.assertEqual(case.run(arguments).exit_code, code)
        self.assertEqual(self.end_first(case, first).exit_code, 0)
        log = case.jvm_log()
        self.assertEqual(log.all_arguments("secondaryMain"), [received for _, received, _ in table if received])
        self.assertEqual(len(log.with_prefix("loaded ")), 1, "a later start loaded the JVM library")
        self.assertEqual(log.problems(), [])

    def test_a_later_start_once_the_vm_is_gone_runs_the_application_itself(self):
        case = self.case()
        images.quadrant_image(case.path("splash.bmp"))
        display = {"Splash Screen": case.win("splash.bmp"), "Preffer Native Splash Screen": "Yes"}
        install_app(case, {**SINGLE, "Display": display}, scenario(*INT_BY_ARGUMENT, main_steps=["return"]))
        shutil.copyfile(BIN / "splashscreen.dll", case.path(r"rt\bin\splashscreen.dll"))
        # The runtime's splash library holds the first instance in its shutdown, after DestroyJavaVM.
        case.path(r"rt\bin\hold").touch()
        splash_log = case.path(r"rt\bin\splashscreen.log")
        first = case.start("first", timeout_ms=120000)
        wait_until(lambda: splash_log.exists() and "SplashClose" in splash_log.read_text(), "the first VM to be gone")
        later = case.start("7", timeout_ms=120000)
        wait_until(lambda: case.jvm_log().all_arguments("main") == [["first"], ["7"]], "the later start's main")
        case.path(r"rt\bin\release").touch()
        self.assertEqual((first.result().exit_code, later.result().exit_code), (0, 0))
        log = case.jvm_log()
        self.assertEqual(log.all_arguments("main"), [["first"], ["7"]])
        self.assertEqual(log.all_arguments("secondaryMain"), [], "a call into a VM that is gone")
        self.assertEqual(log.problems(), [])

    def test_void_variant_replies_before_it_runs(self):
        case = self.case()
        first = self.start_first(case, "secondaryMain = void",
                                 f"secondaryMain.step = waitfile {in_scenario(case.win('go-secondary'))}",
                                 "secondaryMain.step = out served")
        # secondaryMain cannot return before go-secondary exists.
        self.assertEqual(case.run("a b").exit_code, 0)
        case.path("go-secondary").touch()
        wait_until(lambda: case.jvm_log().has("secondaryMain out"), "secondaryMain to go on")
        self.assertEqual(self.end_first(case, first).exit_code, 0)
        log = case.jvm_log()
        self.assertEqual(log.all_arguments("secondaryMain"), [["a", "b"]])
        self.assertEqual(log.problems(), [])

    def test_without_secondary_main_the_later_start_ends_with_the_first_instances_exit_code(self):
        case = self.case()
        first = self.start_first(case, main_steps=["exit 7"])
        later = case.start("a")
        # Both variants looked up and not found: no reply will come.
        wait_until(lambda: case.jvm_log().has('"secondaryMain" "([Ljava/lang/String;)I" -> null'),
                   "the secondaryMain lookup")
        self.assertEqual(self.end_first(case, first).exit_code, 7)
        self.assertEqual(later.result().exit_code, 7)

    def test_each_start_runs_on_its_own_when_single_instance_is_off(self):
        for name, application, second in [
                ("service", {"Single Instance": "yes", "Application Type": "service"}, "app.exe"),
                ("capital-yes", {"Single Instance": "Yes"}, "app.exe"),
                ("other-folder", {"Single Instance": "yes"}, r"copy\app.exe")]:
            with self.subTest(name):
                case = self.case("-" + name)
                first = self.start_first(case, "secondaryMain = int", settings={"Application": application})
                if second != "app.exe":
                    case.install_launcher(second)
                    shutil.copyfile(case.path("app.ini"), case.path(r"copy\app.ini"))
                other = case.start("a", exe=second)
                wait_until(lambda: len(case.jvm_log().all_arguments("main")) == 2, "main of the second start")
                self.assertEqual(self.end_first(case, first).exit_code, 0)
                self.assertEqual(other.result().exit_code, 0)
                self.assertEqual(case.jvm_log().all_arguments("secondaryMain"), [])

    def test_fifty_later_starts_at_once_each_get_their_own_reply(self):
        case = self.case()
        first = self.start_first(case, *INT_BY_ARGUMENT)
        codes, elapsed_ms = case.run_many([str(n) for n in range(1, 51)])
        print(f"[50 later starts at once: {elapsed_ms} ms] ", end="", flush=True)
        self.assertEqual(codes, list(range(1, 51)))
        self.assertEqual(self.end_first(case, first).exit_code, 0)
        log = case.jvm_log()
        self.assertEqual(sorted(log.all_arguments("secondaryMain")), sorted([str(n)] for n in range(1, 51)))
        self.assertEqual(len(log.with_prefix("loaded ")), 1, "a later start loaded the JVM library")
        self.assertEqual(log.problems(), [])

    def test_later_start_during_vm_creation_is_served_once_main_runs(self):
        case = self.case()
        first = self.start_first(case, *INT_BY_ARGUMENT, vm=[f"createAfter = {in_scenario(case.win('create'))}"])
        wait_until(lambda: case.jvm_log().has("JNI_CreateJavaVM waitfile"), "VM creation to begin")
        later = case.start("9 early")
        wait_until(lambda: block_holds(case, ["9", "early"]), "the hand-over")
        case.path("create").touch()
        self.assertEqual(later.result().exit_code, 9)
        self.assertEqual(self.end_first(case, first).exit_code, 0)
        events = case.jvm_log().events
        main = next(i for i, e in enumerate(events) if "com/example/App.main(" in e)
        secondary = next(i for i, e in enumerate(events) if "com/example/App.secondaryMain(" in e)
        self.assertLess(main, secondary)


class SingleInstanceOnRealVm(RealVmTestCase):
    def test_secondary_main_of_real_threads_replies_to_each_later_start(self):
        case = self.case()
        install_real_app(case, {**SINGLE, "Java Runtime Environment": {"Main Class": "e2e.Instance"}})
        first = case.start(case.win("go"), timeout_ms=120000)
        out = case.path("out.txt")
        wait_until(lambda: out.exists() and "main started" in out.read_text(encoding="latin-1"), "main")
        self.assertEqual(case.run("3 Zoë").exit_code, 3)
        codes, _ = case.run_many(["11 a", "12 b", "13 c", "14 d"])
        self.assertEqual(codes, [11, 12, 13, 14])
        case.path("go").touch()
        self.assertEqual(first.result().exit_code, 0)
        report = console_report(out.read_text(encoding="latin-1"))
        self.assertEqual(report[0], "main started")
        self.assertEqual(sorted(report[1:-1]), ["secondaryMain 11 a", "secondaryMain 12 b", "secondaryMain 13 c",
                                                "secondaryMain 14 d", "secondaryMain 3 Zo\u00eb"])
        self.assertEqual(report[-1], "main returns")
