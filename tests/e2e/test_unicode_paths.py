"""An application installed in a folder named outside the ANSI code page, whose runtime, jars,
splash image and output files lie at paths longer than 260 characters. Wine maps file names
through the Unix locale's character set, so these launches run under C.UTF-8 (locale "utf8")."""
import shutil

from expected_texts import ENGLISH
from harness import images
from harness.apps import scenario
from harness.base import WineTestCase
from harness.jvm_log import JvmLog
from harness.launch import BIN, FAILURE, ini_text
from harness.real_vm import APPS_JAR, REAL_JVM, RealVmTestCase, console_file_report

APP = "Приложение 日本 😀"
# Below the application's folder, deep enough to take every file past 260 characters.
DEEP = "\\".join(f"Очень длинная папка номер {i} 数据" for i in range(6))
PRODUCT = "Продукт 😀"
UPGRADE_CODE = "{C0DE-UNICODE}"
ARGUMENTS = ("Привет 😀", ["Привет", "😀"])
CMD = ('Ünï "日本 語" 😀', ["Ünï", "日本 語", "😀"])


def install(case, encoding, main_class, class_path, jars):
    """The launcher in APP with its settings file, embedded "Class Path", a per-user "JRE Path" naming
    the runtime in DEEP, and a splash image and output files there; returns the deep folder's paths
    (Windows, Unix)."""
    deep_win, deep = case.win(f"{APP}\\{DEEP}"), case.path(f"{APP}\\{DEEP}")
    assert len(deep_win) + len(r"\rt\bin\server\jvm.dll") > 260
    (deep / "lib").mkdir(parents=True)
    for name, source in jars.items():
        shutil.copyfile(source, deep / "lib" / name)
    images.quadrant_image(deep / "splash.bmp")
    embedded = case.path("embedded.ini")
    embedded.write_text(ini_text({"Class Path": {"Class Path": class_path(deep_win)}}), encoding="utf-8-sig")
    case.session.wine(str(BIN / "jlaunch-embed.exe"), "write", str(BIN / "jlaunch.exe"), case.win("embedded.ini"),
                      case.win(f"{APP}\\app.exe"), "--upgrade-code", UPGRADE_CODE, locale="utf8")
    case.write_ini({"Product Information": {"Product Name": PRODUCT, "Product Code": "{P-1}",
                                            "Upgrade Code": UPGRADE_CODE},
                    "Java Runtime Environment": {"Main Class": main_class},
                    "Display": {"Splash Screen": f"{deep_win}\\splash.bmp"},
                    "Application": {"Output File": f"{deep_win}\\out.txt", "Error File": f"{deep_win}\\err.txt",
                                    "Cmd": CMD[0]}},
                   name=f"{APP}\\app.ini", encoding=encoding)
    user = next(case.session.drive_c.glob("users/*/AppData/Roaming")) / PRODUCT / "{P-1}"
    user.mkdir(parents=True, exist_ok=True)
    (user / "app.ini").write_text(ini_text({"Java Runtime Environment": {"JRE Path": f"{deep_win}\\rt"}}),
                                  encoding="utf-16")
    return deep_win, deep


class UnicodeAndLongPaths(WineTestCase):
    def tearDown(self):
        shutil.rmtree(next(self.session.drive_c.glob("users/*/AppData/Roaming")) / PRODUCT, ignore_errors=True)

    def test_starts_end_to_end_with_short_forms_in_the_options_and_exact_arguments(self):
        for encoding in ("utf-16", "utf-8-sig"):
            with self.subTest(encoding=encoding):
                case = self.case(f"-{encoding}")
                deep_win, deep = install(case, encoding, "com.example.App",
                                         lambda deep_win: f"\\{DEEP}\\lib\\*.jar;{deep_win}\\direct.jar",
                                         {"a.jar": BIN / "jvm.dll", "b.jar": BIN / "jvm.dll"})
                shutil.copyfile(BIN / "jvm.dll", deep / "direct.jar")
                case.make_runtime(home=f"{APP}\\{DEEP}\\rt", scenario=scenario(
                    vm=["awaitWindow = SplashScreenWindow"], main_steps=["out Grüße 😀", "sleep 600"]))
                run = case.run(ARGUMENTS[0], exe=f"{APP}\\app.exe", locale="utf8", windows=["leave"])
                self.assertEqual((run.exit_code, [w["class"] for w in run.windows]), (0, ["SplashScreenWindow"]))
                left, top, right, bottom = run.windows[0]["rect"]
                self.assertEqual((right - left, bottom - top), images.SIZE)

                log = JvmLog(deep / "rt" / "bin" / "server" / "jvm.log")
                options = log.option_strings()
                class_path = options[0].removeprefix("-Djava.class.path=").rstrip(";").split(";")
                # Each entry in a form the code page holds, and short enough for any reader.
                self.assertEqual([entry.rsplit("\\", 1)[1] for entry in class_path], ["a.jar", "b.jar", "direct.jar"])
                for path in [*class_path, log.env("JL_JVM_PATH")]:
                    self.assertTrue(path.isascii() and "?" not in path and len(path) < 260, path)
                self.assertEqual(log.main_arguments(), ARGUMENTS[1] + CMD[1])
                self.assertEqual((deep / "out.txt").read_bytes().decode("utf-8"), "Grüße 😀\r\n")
                self.assertEqual(log.problems(), [])

    def test_a_class_path_entry_without_a_short_form_is_named_and_no_vm_starts(self):
        case = self.case()
        # Under Wine every existing path has a short form; a missing file has none.
        missing = f"{case.win(APP)}\\{DEEP}\\нет.jar"
        deep_win, deep = install(case, "utf-16", "com.example.App", lambda deep_win: missing, {})
        case.make_runtime(home=f"{APP}\\{DEEP}\\rt", scenario=scenario())
        run = case.run("-nosplash", exe=f"{APP}\\app.exe", locale="utf8")
        self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))
        self.assertEqual(run.box_text(), ENGLISH[231].replace("%s", missing))
        log = JvmLog(deep / "rt" / "bin" / "server" / "jvm.log")
        self.assertTrue(log.loaded)
        self.assertFalse(log.with_prefix("JNI_CreateJavaVM"))


class UnicodeAndLongPathsOnTheRealVm(RealVmTestCase):
    def tearDown(self):
        shutil.rmtree(next(self.session.drive_c.glob("users/*/AppData/Roaming")) / PRODUCT, ignore_errors=True)

    def test_java_runs_from_the_deep_folder_and_gets_the_exact_arguments(self):
        case = self.case()
        deep_win, deep = install(case, "utf-8-sig", "e2e.Console", lambda deep_win: f"\\{DEEP}\\lib\\*.jar",
                                 {"e2e-apps.jar": APPS_JAR})
        (deep / "rt" / "bin" / "server").mkdir(parents=True)
        shutil.copyfile(REAL_JVM, deep / "rt" / "bin" / "server" / "jvm.dll")
        run = case.run(ARGUMENTS[0] + " -nosplash", exe=f"{APP}\\app.exe", locale="utf8", timeout_ms=60000)
        self.assertEqual(run.exit_code, 0)
        arguments = ARGUMENTS[1] + ["-nosplash"] + CMD[1]
        self.assertEqual(console_file_report(deep / "out.txt"),
                         [f"main {len(arguments)}", *[f"arg {i} {a}" for i, a in enumerate(arguments)],
                          "main returns"])
