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
PLANTED = BIN / "fixtures" / "Dbghelp.dll"


class PlantedLibraries(WineTestCase):
    def plant(self, case):
        """Copies in the working directory "docs" and, of the launcher's own, beside it. Wine is told
        to prefer a native library to its built-in one, as Windows does for a file it finds first.
        Under Wine as on Windows the system folder comes before the working directory in the
        search, so a library the system lacks (jlnative) is what a planted copy there could supply."""
        case.path("docs").mkdir()
        for name in OWN + INDIRECT + ["jlnative"]:
            shutil.copyfile(PLANTED, case.path(f"docs\\{name}.dll"))
        for name in OWN:
            shutil.copyfile(PLANTED, case.path(f"{name}.dll"))
        return {"cwd": case.win("docs"), "dll_overrides": ",".join(OWN + INDIRECT) + "=n,b"}

    def assert_none_loaded(self, case, run):
        self.assertFalse(run.timed_out)
        self.assertEqual(sorted(p.name for p in case.folder.rglob("planted-*-loaded.txt")), [])

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
