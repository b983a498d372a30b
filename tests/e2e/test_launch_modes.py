"""Launches from a main jar ("Main Jar") and from a named module ("Main Module"): what the VM is
given, how the main class is found (the runtime's launcher helper, or the manifest read through
JarFile where there is none), and the message each failure shows in English and German."""
import json
import unittest
import zipfile

from expected_texts import ENGLISH, GERMAN
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import FAILURE
from harness.real_vm import APPS_JAR, RealVmTestCase, console_file_report, install_real_runtime
from test_single_instance import in_scenario, wait_until

STRINGS = {"en": ENGLISH, "de": GERMAN}
EMPTY_ZIP = b"PK\x05\x06" + bytes(18)
HELPER_CALL = ("CallStaticObjectMethodV sun/launcher/LauncherHelper.checkAndLoadMain(ZILjava/lang/String;)"
               "Ljava/lang/Class; true")
JAR_OPEN = "NewObjectV java/util/jar/JarFile.<init>(Ljava/lang/String;)V"
MAIN_OF = "CallStaticVoidMethodV {}.main("
ABORT_EXIT = 3  # a VM abort ends the process as the C runtime's abort() does


def message(locale, text_id, *values):
    """A string table text with its %s filled in order."""
    text = STRINGS[locale][text_id]
    for value in values:
        text = text.replace("%s", value, 1)
    return text


def manifest(main_class=None, *attributes):
    lines = ["Manifest-Version: 1.0", *attributes] + ([f"Main-Class: {main_class}"] if main_class else [])
    return "".join(line + "\r\n" for line in lines)


def jar_section(manifest_text, *lines, name="app.jar"):
    """The double's description of a jar; manifest_text None: it has no manifest."""
    value = "none" if manifest_text is None else in_scenario(manifest_text).replace("\r", "\\r").replace("\n", "\\n")
    return [f"[jar {name}]", f"manifest = {value}", *lines]


def with_runtime_keys(settings, keys):
    """settings with keys added to [Java Runtime Environment], those of settings winning."""
    settings = settings or {}
    return {**settings, "Java Runtime Environment": {**keys, **settings.get("Java Runtime Environment", {})}}


def install_jar_app(case, *lines, settings=None, vm=(), jar_bytes=EMPTY_ZIP):
    """app.exe with "Main Jar" \\app.jar beside it and no "Main Class", on the double; returns the jar's path."""
    if jar_bytes is not None:
        case.path("app.jar").write_bytes(jar_bytes)
    install_app(case, with_runtime_keys(settings, {"Main Class": "", "Main Jar": r"\app.jar"}),
                scenario(*lines, vm=vm), class_path=False)
    return case.win("app.jar")


def install_module_app(case, main_module, *lines, settings=None, modular=True):
    """app.exe with that "Main Module"; a modular runtime holds lib\\modules."""
    install_app(case, with_runtime_keys(settings, {"Main Class": "", "Main Module": main_module}), scenario(*lines),
                class_path=False)
    if modular:
        case.path(r"rt\lib").mkdir(parents=True)
        case.path(r"rt\lib\modules").write_bytes(b"")


class LaunchModeTestCase(WineTestCase):
    def assert_in_order(self, events, fragments):
        """Each fragment occurs in an event after the one the previous fragment occurred in."""
        at = 0
        for fragment in fragments:
            found = next((i for i in range(at, len(events)) if fragment in events[i]), None)
            self.assertIsNotNone(found, f"not found in order: {fragment}")
            at = found + 1

    def assert_reports_removed(self, case, log):
        """The temporary files the helper's System.err went to are gone; returns how many there were."""
        targets = [json.loads(e[len("System.setErr "):]) for e in log.with_prefix('System.setErr "')]
        reports = [case.session.drive_c / t[3:].replace("\\", "/") for t in targets if "jlaunch-report-" in t]
        for report in reports:
            self.assertTrue(report.parent.is_dir(), report)
            self.assertFalse(report.exists(), report)
        return len(reports)


class JarLaunch(LaunchModeTestCase):
    def test_main_jar_leads_the_class_path_and_names_the_main_class(self):
        # Longer than the 8192 bytes the launcher reads at once, Main-Class last, lines wrapped as jar tools do.
        opens = "Add-Opens: " + " ".join(f"java.base/java.p{n}" for n in range(700))
        long_manifest = manifest("com.example.App", opens[:70],
                                 *[" " + opens[i:i + 69] for i in range(70, len(opens), 69)])
        warning = "WARNING: Unknown module: x specified to --add-opens"
        # what, "Java Runtime Environment" settings, [vm] lines, class whose main runs, helper asked
        rows = [
            ("helper", {}, [], "com/example/App", True),
            ("main class", {"Main Class": "com.example.Other"}, [], "com/example/Other", False),
            ("no helper", {}, ["launcherHelper = no"], "com/example/App", False),
        ]
        for what, runtime_settings, vm, main_class, helper in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                jar = install_jar_app(case, "[class com/example/Other]",
                                      *jar_section(long_manifest, f"helper.step = err {warning}"), vm=vm, settings={
                                          "Java Runtime Environment": {"Virtual Machine Parameters": "-Dx=1",
                                                                       **runtime_settings},
                                          "Class Path": {"Class Path": r"C:\Lib\direct.jar"},
                                          "Application": {"Error File": case.win("err.txt")}})
                run = case.run('a "b c"')
                self.assertEqual((run.exit_code, run.windows), (0, []))
                log = case.jvm_log()
                self.assertEqual(log.option_strings(),
                                 [f"-Djava.class.path={jar};C:\\Lib\\direct.jar;", "-Dx=1", "abort", "exit"])
                self.assertEqual(log.all_arguments("main"), [["a", "b c"]])
                self.assertTrue(log.has(MAIN_OF.format(main_class)), main_class)
                self.assertEqual(log.has(HELPER_CALL), helper)
                self.assertEqual(log.has(JAR_OPEN), "Main Class" not in runtime_settings)
                # Passed on as the helper printed it, its line end included.
                err = case.path("err.txt")
                self.assertEqual(err.read_bytes() if err.exists() else b"",
                                 (warning + "\r\n").encode() if helper else b"")
                self.assertEqual(self.assert_reports_removed(case, log), 1 if helper else 0)
                self.assertEqual(log.problems(), [])
                if what == "helper":
                    # The manifest is read to its end and closed before the helper runs on a captured System.err.
                    self.assert_in_order(log.events, [
                        f"{JAR_OPEN} {json.dumps(jar)}", "getJarEntry(Ljava/lang/String;)Ljava/util/jar/JarEntry; "
                        '"META-INF/MANIFEST.MF"', "CallIntMethodV -> 8192", "CallIntMethodV -> -1",
                        "java/io/InputStream.close()V", "java/util/zip/ZipFile.close()V",
                        "System.setErr", f"{HELPER_CALL} 2 {json.dumps(jar)}", "checkAndLoadMain err",
                        "CallStaticObjectMethodV -> class com/example/App",
                        "System.setErr " + json.dumps(case.win("err.txt")),
                        "java/io/PrintStream.close()V", "java/lang/Class.getName()Ljava/lang/String;",
                        MAIN_OF.format(main_class)])
                if what == "no helper":
                    self.assert_in_order(log.events, ['FindClass "sun/launcher/LauncherHelper" -> null',
                                                      "ExceptionClear java/lang/NoClassDefFoundError",
                                                      'FindClass "com/example/App" -> class com/example/App'])

    def test_later_start_reaches_secondary_main_of_the_manifests_class(self):
        case = self.case()
        install_jar_app(case, "[class com/example/Jarred]", f"main.step = waitfile {in_scenario(case.win('go'))}",
                        "secondaryMain = int", "secondaryMain.result = argument",
                        *jar_section(manifest("com.example.Jarred")),
                        settings={"Application": {"Single Instance": "yes"}})
        first = case.start(timeout_ms=120000)
        wait_until(lambda: case.jvm_log().has("com/example/Jarred.main("), "main of the first instance")
        self.assertEqual(case.run('6 "x y"').exit_code, 6)
        case.path("go").touch()
        self.assertEqual(first.result().exit_code, 0)
        log = case.jvm_log()
        self.assertEqual(log.all_arguments("secondaryMain"), [["6", "x y"]])
        self.assertTrue(log.has("CallStaticIntMethodV com/example/Jarred.secondaryMain("))
        self.assertEqual(log.problems(), [])


class ModuleLaunch(LaunchModeTestCase):
    def test_module_options_and_the_helper_in_module_mode(self):
        long_name = ".".join(["mod"] * 2500) + "x"  # 10,000 characters
        # what, Main Module, Module Path, Class Path, options before the parameters, class whose main runs
        rows = [
            ("module path", "app.mod", r"\mods;;C:\Other Mods", None,
             lambda case: [rf"--module-path={case.win('mods')};C:\Other Mods", "-Djdk.module.main=app.mod"],
             "com/example/App"),
            ("named class", "app.mod/com.example.Other", "", r"C:\Lib\a.jar",
             lambda case: [r"-Djava.class.path=C:\Lib\a.jar;", "-Djdk.module.main=app.mod"], "com/example/Other"),
            ("10,000 characters", long_name, "", None, lambda case: [f"-Djdk.module.main={long_name}"],
             "com/example/App"),
        ]
        for what, main_module, module_path, class_path, options, main_class in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                module_name = main_module.split("/")[0]
                install_module_app(case, main_module, "[class com/example/Other]",
                                   f"[module {module_name}]", "mainClass = com.example.App", settings={
                                       "Java Runtime Environment": {"Virtual Machine Parameters": "-Dx=1"},
                                       "Class Path": {"Module Path": module_path,
                                                      **({"Class Path": class_path} if class_path else {})}})
                run = case.run("a")
                self.assertEqual((run.exit_code, run.windows), (0, []))
                log = case.jvm_log()
                self.assertEqual(log.option_strings(), [*options(case), "-Dx=1", "abort", "exit"])
                self.assertTrue(log.has(f"{HELPER_CALL} 3 {json.dumps(main_module)}"))
                self.assertTrue(log.has(MAIN_OF.format(main_class)))
                self.assertEqual(log.all_arguments("main"), [["a"]])
                self.assertEqual(log.problems(), [])


def missing_jar(case):
    install_jar_app(case, settings={"Java Runtime Environment": {"Main Jar": r"\missing.jar"}})
    return case.win("missing.jar"),


def folder_jar(case):
    install_jar_app(case, settings={"Java Runtime Environment": {"Main Jar": r"\folder.jar"}})
    case.path("folder.jar").mkdir()
    return case.win("folder.jar"),


def semicolon_jar(case):
    install_jar_app(case, settings={"Java Runtime Environment": {"Main Jar": r"\a;b.jar"}}, jar_bytes=None)
    case.path("a;b.jar").write_bytes(EMPTY_ZIP)
    return case.win("a;b.jar"),


def text_jar(case):
    return install_jar_app(case, jar_bytes=b"Main-Class: com.example.App\r\n"), \
        "java.util.zip.ZipException: zip END header not found"


def empty_jar(case):
    return install_jar_app(case, jar_bytes=b""), "java.util.zip.ZipException: zip file is empty"


def unreadable_manifest(case):
    return install_jar_app(case, *jar_section(manifest("com.example.App"), "readError = java.util.zip.ZipException: "
                                                                          "invalid stored block lengths")), \
        "java.util.zip.ZipException: invalid stored block lengths"


def helper_exits(case):
    jar = install_jar_app(case, *jar_section(manifest("com.example.Missing")))
    return jar, ("Error: Could not find or load main class com.example.Missing\r\n"
                 "Caused by: java.lang.ClassNotFoundException: com.example.Missing")


def helper_throws(case):
    jar = install_jar_app(case, *jar_section(manifest("com.example.App"), "helper.step = err partial line",
                                             "helper.step = throw java.lang.IllegalStateException: boom"))
    return jar, "partial line\njava.lang.IllegalStateException: boom"


def no_module_main_class(case):
    install_module_app(case, "app.mod", "[module app.mod]")
    return "app.mod", "Error: module app.mod does not have a ModuleMainClass attribute, use -m <module>/<main-class>"


def jar_app(*lines):
    return lambda case: (install_jar_app(case, *lines),)


def module_app(main_module, named, modular=True):
    """A set-up whose message names `named`."""
    def set_up(case):
        install_module_app(case, main_module, modular=modular)
        return named,
    return set_up


# (what, text id, set-up returning the values of the text's %s, exit code, whether a VM was loaded)
FAILURES = [
    ("missing jar", 232, missing_jar, FAILURE, False),
    ("folder", 233, folder_jar, FAILURE, False),
    ("semicolon", 234, semicolon_jar, FAILURE, False),
    ("text file", 235, text_jar, FAILURE, True),
    ("empty file", 235, empty_jar, FAILURE, True),
    ("manifest unreadable", 235, unreadable_manifest, FAILURE, True),
    ("no manifest", 236, jar_app(*jar_section(None)), FAILURE, True),
    ("no Main-Class", 237, jar_app(*jar_section(manifest(None, "Class-Path: lib/a.jar"))), FAILURE, True),
    ("module name", 238, module_app("a//b", "a//b"), FAILURE, False),
    ("runtime before 9", 239, module_app("app.mod/com.example.App", "app.mod", modular=False), FAILURE, False),
    ("helper exits", 240, helper_exits, 1, True),
    ("helper throws", 240, helper_throws, FAILURE, True),
    ("no ModuleMainClass", 240, no_module_main_class, 1, True),
    ("module not resolved", 241, module_app("gone.mod", "gone.mod"), ABORT_EXIT, True),
]


class Failures(LaunchModeTestCase):
    def test_each_failure_shows_its_message_in_both_languages(self):
        for locale in ("en", "de"):
            # The launches of one language run at once: each waits mostly for its box to be found.
            started = []
            for what, text_id, set_up, exit_code, vm_loaded in FAILURES:
                case = self.case(f"-{what}-{locale}")
                started.append((what, text_id, set_up(case), exit_code, vm_loaded, case, case.start(locale=locale)))
            for what, text_id, values, exit_code, vm_loaded, case, launch in started:
                with self.subTest(what, locale=locale):
                    run = launch.result()
                    self.assertEqual(run.exit_code, exit_code)
                    self.assertEqual(len(run.windows), 1, run.windows)
                    self.assertEqual(run.box_text(), message(locale, text_id, *values))
                    log = case.jvm_log()
                    self.assertEqual(log.loaded, vm_loaded)
                    self.assertFalse(log.has(".main("), "no main runs")
                    if exit_code != 1:  # the helper's own System.exit: see the left report's test
                        self.assert_reports_removed(case, log)
                    self.assertEqual(log.problems(), [])

    def test_a_report_left_by_an_ended_process_goes_with_the_next_jar_launch(self):
        # The exit hook cannot remove the file the VM still holds open (Java opens files without delete
        # sharing); the next launch that needs a report file removes it.
        case = self.case()
        helper_exits(case)
        self.assertEqual(case.run().exit_code, 1)
        targets = [json.loads(e[len("System.setErr "):]) for e in case.jvm_log().with_prefix('System.setErr "')]
        left = [case.session.drive_c / t[3:].replace("\\", "/") for t in targets if "jlaunch-report-" in t]
        self.assertEqual(len(left), 1)
        self.assertTrue(left[0].exists(), "the ended process could not remove it")
        case.path("rt\\bin\\server\\jvm.log").unlink()
        self.assertEqual(case.run().exit_code, 1)
        self.assertFalse(left[0].exists())

    def test_written_values_that_cannot_start_anything(self):
        long_jar = "\\" + "j" * 40000 + ".jar"
        modules = ("/", "a/", "/b", "a b", "a.b/c d", "1a", "a..b")
        rows = [{"Main Jar": long_jar}] + [{"Main Module": m} for m in modules]
        started = []
        for index, written in enumerate(rows):
            case = self.case(f"-{index}")
            install_app(case, {"Java Runtime Environment": {"Main Class": "", **written}}, class_path=False)
            started.append((written, case, case.start()))
        for written, case, launch in started:
            with self.subTest(written=str(written)[:40]):
                run = launch.result()
                self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))
                self.assertFalse(case.jvm_log().loaded)
                if "Main Module" in written:
                    self.assertEqual(run.box_text(), message("en", 238, written["Main Module"]))
                    continue
                self.assertEqual(run.box_text(), message("en", 232, case.win() + long_jar))


class JarOnRealVm(RealVmTestCase):
    def test_manifest_names_the_class_the_real_vm_runs(self):
        """The real VM has no launcher helper: the launcher reads the manifest through its JarFile."""
        # what, the jar's manifest (None: none; bytes: the whole file, no jar), the message shown (None: main runs)
        rows = [
            ("runs", manifest("e2e.Console"), None),
            ("no Main-Class", manifest(None, "Created-By: test"), 237),
            ("no manifest", None, 236),
            # Avian's JarFile takes a file that is no zip archive for an empty one; HotSpot's throws.
            ("text file", b"Main-Class: e2e.Console\r\n", 236),
        ]
        for what, content, text_id in rows:
            with self.subTest(what):
                case = self.case("-" + what)
                case.install_launcher()
                runtime = install_real_runtime(case)
                if isinstance(content, bytes):
                    case.path("app.jar").write_bytes(content)
                else:
                    with zipfile.ZipFile(APPS_JAR) as apps, zipfile.ZipFile(case.path("app.jar"), "w",
                                                                            zipfile.ZIP_DEFLATED) as jar:
                        if content is not None:
                            jar.writestr("META-INF/MANIFEST.MF", content)
                        for entry in apps.infolist():
                            if not entry.filename.startswith("META-INF/"):
                                jar.writestr(entry, apps.read(entry))
                case.write_ini({"Java Runtime Environment": {"Main Jar": r"\app.jar", "JRE Path": runtime},
                                "Application": {"Output File": case.win("out.txt"), "Error File": case.win("err.txt")}})
                run = case.run('"two words" --prop=java.class.path')
                if text_id is None:
                    self.assertEqual((run.exit_code, run.windows), (0, []))
                    self.assertEqual(console_file_report(case.path("out.txt")), [
                        "main 2", "arg 0 two words", "arg 1 --prop=java.class.path",
                        f"prop java.class.path={case.win('app.jar')};", "main returns"])
                else:
                    self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))
                    self.assertEqual(run.box_text(), message("en", text_id, case.win("app.jar")))
