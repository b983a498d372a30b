"""Libraries the launcher loads for itself come from the system folder: copies planted in the
working directory or beside the executable are never loaded, while the runtime's and the
application's libraries still load through the Path."""
import shutil

from harness import images
from harness.apps import install_app, install_discovering_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE
from harness.registry import key_values
from test_runtime_not_found_dialog import recorded

# Loaded by the launcher itself, on first use or explicitly.
OWN = ["user32", "gdi32", "comctl32", "shell32", "ole32", "oleaut32", "dbghelp"]
# Loaded on its behalf by those in these launches (as Wine's module lists show).
INDIRECT = ["windowscodecs", "propsys", "combase", "rpcrt4", "version", "imm32", "uxtheme", "shlwapi", "shcore",
            "msimg32", "win32u", "comdlg32"]
# Not "known DLLs" on Windows: the system's own libraries load these by name,
# from the executable's folder first when nothing stops it.
NOT_KNOWN = ["uxtheme", "dwmapi", "version", "propsys", "windowscodecs", "cryptbase", "userenv"]
PLANTED_NAMES = sorted(set(OWN + INDIRECT + NOT_KNOWN))
PLANTED = BIN / "fixtures" / "Dbghelp.dll"


class Planting:
    def plant(self, case):
        """Copies in the working directory "docs" and beside the executable. Wine is told to prefer a
        native library to its built-in one, as Windows does for a file it finds first. Under Wine as
        on Windows the system folder comes before the working directory in the search, so a library
        the system lacks (jlnative) is what a planted copy there could supply."""
        case.path("docs").mkdir()
        for name in PLANTED_NAMES + ["jlnative"]:
            shutil.copyfile(PLANTED, case.path(f"docs\\{name}.dll"))
        for name in PLANTED_NAMES:
            shutil.copyfile(PLANTED, case.path(f"{name}.dll"))
        return {"cwd": case.win("docs"), "dll_overrides": ",".join(PLANTED_NAMES) + "=n,b"}

    def assert_none_loaded(self, case, run):
        self.assertFalse(run.timed_out)
        self.assertEqual(sorted(p.name for p in case.folder.rglob("planted-*-loaded.txt")), [])

class PlantedLibraries(Planting, WineTestCase):
    def test_splash_exception_dialog_and_the_applications_own_libraries(self):
        case = self.case()
        images.quadrant_image(case.path("splash.png"))
        case.path("native").mkdir()
        shutil.copyfile(BIN / "fixtures" / "Dbghelp.dll", case.path(r"native\jlpath.dll"))
        shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("app32.exe"))
        main = ["load jlnative.dll", "load jlpath.dll", "sleep 1000", "throw java.lang.IllegalStateException: boom"]
        # "Pair Product" has the runtime's architecture checked through dbghelp.
        install_app(case, settings={"Display": {"Splash Screen": case.win("splash.png")},
                                    "Application": {"Failure Check": "Yes", "Pair Product": case.win("app32.exe")},
                                    "Java Runtime Environment": {"System Path": case.win("native")}},
                    scenario_text=scenario(vm=["awaitWindow = SplashScreenWindow"], main_steps=main))
        planted = self.plant(case)
        run = case.run(windows=["leave", "press:1"], **planted)
        # The application's library on the Path is found there, and only that one.
        case.path(r"native\planted-jlpath-loaded.txt").unlink()
        self.assert_none_loaded(case, run)
        self.assertEqual((run.exit_code, [w["class"] for w in run.windows]), (0, ["SplashScreenWindow", "#32770"]))
        self.assertEqual(run.windows[1]["title"], "Java Exception")
        log = case.jvm_log()
        self.assertTrue(log.has('main load "jlnative.dll" -> error 126'), log.events)
        self.assertTrue(log.has(f'main load "jlpath.dll" -> "{case.win("native").replace(chr(92), chr(92) * 2)}'
                                r'\\jlpath.dll"'), log.events)

    def test_the_runtimes_splash_library(self):
        case = self.case()
        images.quadrant_image(case.path("splash.bmp"))
        install_app(case, settings={"Display": {"Splash Screen": case.win("splash.bmp"),
                                                "Preffer Native Splash Screen": "Yes"}},
                    scenario_text=scenario(main_steps=["return"]))
        shutil.copyfile(BIN / "splashscreen.dll", case.path(r"rt\bin\splashscreen.dll"))
        run = case.run(**self.plant(case))
        self.assert_none_loaded(case, run)
        self.assertEqual(run.exit_code, 0)
        self.assertIn("SplashInit", case.path(r"rt\bin\splashscreen.log").read_text(encoding="utf-8"))

    def test_what_the_applications_windows_load_by_name(self):
        case = self.case()
        names = ["uxtheme.dll", "imm32.dll", "dwmapi.dll"]
        install_app(case, scenario_text=scenario(main_steps=[f"load {name}" for name in names]))
        run = case.run(**self.plant(case))
        self.assert_none_loaded(case, run)
        self.assertEqual(run.exit_code, 0)
        loaded = [e for e in case.jvm_log().events if e.startswith("main load ")]
        self.assertEqual(len(loaded), len(names))
        self.assertTrue(all("system32" in e.lower() for e in loaded), loaded)

    def test_an_error_box(self):
        case = self.case()
        install_app(case, settings={"Java Runtime Environment": {"Main Class": ""}})
        run = case.run(windows=["press:2"], **self.plant(case))
        self.assert_none_loaded(case, run)
        self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))

    def test_runtime_not_found_dialog_with_its_folder_browser_and_link(self):
        case = self.case()
        install_discovering_app(case)
        shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("recorder.exe"))
        planted = self.plant(case)
        with key_values(self.session, case, r"HKCR\https\shell\open\command",
                        {None: f'"{case.win("recorder.exe")}" "%1"'}):
            run = case.run(windows=[f"browse:202,{case.win('docs')};click:205,3,3;wait:1000;press:2"], **planted)
        self.assert_none_loaded(case, run)
        self.assertEqual(run.exit_code, FAILURE)
        self.assertTrue(all(a["ok"] for a in run.actions), run.actions)
        self.assertTrue(any(e["event"] == "browser" for e in run.events))
        self.assertEqual(recorded(case), f'"{case.win("recorder.exe")}" "https://java.com/"')


class DependenciesStillFound(Planting, WineTestCase):
    """With every system library planted, the runtime's and the application's own libraries
    still find the libraries they import where those lie."""

    def test_the_runtimes_library_imports_one_from_its_bin_folder(self):
        for with_dependency in (True, False):
            with self.subTest(with_dependency=with_dependency):
                case = self.case(f"-{with_dependency}")
                install_app(case, scenario_text=scenario(main_steps=["return"]), library="jvm-with-dependency.dll")
                if with_dependency:
                    shutil.copyfile(BIN / "fixtures" / "jldep.dll", case.path(r"rt\bin\jldep.dll"))
                run = case.run(windows=["press:2"], **self.plant(case))
                self.assert_none_loaded(case, run)
                if with_dependency:
                    self.assertEqual((run.exit_code, run.windows), (0, []))
                    self.assertTrue(case.jvm_log().has("dependency answers 42"))
                else:  # the test shows the dependency is needed
                    self.assertEqual(run.exit_code, FAILURE)
                    self.assertIn("(errno = 126)", run.box_text())

    def test_an_applications_library_finds_a_sibling_and_one_on_the_system_path(self):
        # Where the library lies, where its dependency lies, the settings. The loader does not search
        # the folder of a library loaded by its full path for what it imports: a sibling is found
        # where the Path names its folder, as the packager does with "System Path".
        rows = [("native", "native", {"Library Path": "%JL_APP%native", "System Path": "%JL_APP%native"}),
                ("native", "shared", {"Library Path": "%JL_APP%native", "System Path": "%JL_APP%shared"})]
        for library_folder, dependency_folder, runtime_settings in rows:
            with self.subTest(dependency_folder=dependency_folder):
                case = self.case(f"-{dependency_folder}")
                library = case.win(f"{library_folder}\\jluser.dll")
                settings = {key: value.replace("%JL_APP%", case.win("") + "\\") for key, value in runtime_settings.items()}
                install_app(case, settings={"Java Runtime Environment": settings},
                            scenario_text=scenario(main_steps=[f"load {library.replace(chr(92), chr(92) * 2)}"]))
                for folder, name in ((library_folder, "jluser.dll"), (dependency_folder, "jldep.dll")):
                    case.path(folder).mkdir(exist_ok=True)
                    shutil.copyfile(BIN / "fixtures" / name, case.path(f"{folder}\\{name}"))
                run = case.run(**self.plant(case))
                self.assert_none_loaded(case, run)
                self.assertEqual(run.exit_code, 0)
                loaded = [e for e in case.jvm_log().events if e.startswith("main load ")]
                self.assertEqual(len(loaded), 1)
                self.assertTrue(loaded[0].endswith("jluser.dll\""), loaded)
