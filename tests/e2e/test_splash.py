"""The splash screen: the runtime's splashscreen.dll, or the launcher's own window."""
import json
import shutil
import subprocess

from harness import images
from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN, FAILURE
from harness.real_vm import RealVmTestCase, console_file_report, install_real_app

WS_POPUP, WS_CAPTION, WS_THICKFRAME, WS_EX_TOOLWINDOW = 0x80000000, 0x00C00000, 0x00040000, 0x80
CS_DROPSHADOW, CS_SAVEBITS, CS_DBLCLKS = 0x00020000, 0x0800, 0x0008
SCREEN = (1280, 1024)
SPLASH_CLASS = "SplashScreenWindow"
# The VM is created only once the splash window is up, so that what the
# application does is sure to happen while it is shown.
WHILE_SHOWN = [f"awaitWindow = {SPLASH_CLASS}"]


def splash_app(case, display, vm=(), main_steps=("sleep 600",), image="splash.bmp", class_path=True, **app):
    """An application whose settings file has a "Display" section; image: a quadrant picture to make."""
    if image:
        images.quadrant_image(case.path(image))
    install_app(case, settings={"Display": display, **app.pop("settings", {})},
                scenario_text=scenario(vm=vm, main_steps=main_steps, **app), class_path=class_path)


def splash_windows(run):
    return [w for w in run.windows if w["class"] == SPLASH_CLASS]


def shown_for_ms(run):
    """From when the probe saw the first window to when it was gone."""
    return run.events[event_index(run, "gone", 0)]["ms"] - run.events[event_index(run, "window", 0)]["ms"]


def event_index(run, kind, index):
    return next(i for i, e in enumerate(run.events) if e.get("event") == kind and e.get("index") == index)


class NativeSplash(WineTestCase):
    def app(self, prefer="Yes", key="Preffer Native Splash Screen", library="splashscreen.dll", **app):
        case = self.case()
        splash_app(case, {"Splash Screen": case.win("splash.bmp"), key: prefer}, **app)
        if library:
            shutil.copyfile(BIN / library, case.path(r"rt\bin\splashscreen.dll"))
        return case

    def calls(self, case):
        log = case.path(r"rt\bin\splashscreen.log")
        return log.read_text(encoding="utf-8").splitlines() if log.exists() else []

    def test_library_gets_the_image_and_is_closed_once_after_the_vm_is_destroyed(self):
        case = self.app()
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (0, []))
        image = json.dumps(case.win("splash.bmp"))
        self.assertEqual(self.calls(case), ["SplashInit", f"SplashLoadFile {image}",
                                            f'SplashSetFileJarName {image} ""', "SplashClose vms=0"])
        events = case.jvm_log().events
        self.assertEqual(events[-2:], ["DestroyJavaVM -> 0", "JNI_GetCreatedJavaVMs -> 0"],
                         "SplashClose comes after the VM is destroyed")

    def test_library_is_closed_once_when_the_vm_fails(self):
        case = self.app(vm=["create = -4"])
        run = case.run()
        self.assertEqual(run.exit_code, FAILURE)
        self.assertEqual(run.windows[0]["owner"], 0, "the runtime's splash owns no error box")
        self.assertEqual(self.calls(case)[3:], ["SplashClose vms=0"])

    def test_preference_is_yes_in_any_case_under_its_double_f_key(self):
        for prefer, key, native in [("yes", "Preffer Native Splash Screen", True),
                                    ("Yes", "Prefer Native Splash Screen", False)]:
            with self.subTest(prefer=prefer, key=key):
                case = self.app(prefer, key, vm=[] if native else WHILE_SHOWN)
                run = case.run(windows=["leave"])
                self.assertEqual(run.exit_code, 0)
                self.assertEqual(len(splash_windows(run)), 0 if native else 1)
                self.assertEqual(self.calls(case)[:1], ["SplashInit"] if native else [])

    def test_missing_library_or_entry_gives_the_own_window(self):
        for library, calls in [(None, []), ("splashscreen-no-jar-name.dll", ["SplashClose vms=0"])]:
            with self.subTest(library=library):
                case = self.app(library=library, vm=WHILE_SHOWN)
                run = case.run(windows=["leave"])
                self.assertEqual((run.exit_code, len(splash_windows(run))), (0, 1))
                # A SplashClose the library offers is still called, once, at shutdown.
                self.assertEqual(self.calls(case), calls)


class SplashSwitches(WineTestCase):
    def test_only_exact_nosplash_switches_suppress_the_splash(self):
        for argument, shown in [("-nosplash", False), ("/nosplash", False), ("-NOSPLASH", True)]:
            with self.subTest(argument=argument):
                case = self.case(f"-{argument.strip('-/')}-{shown}")
                splash_app(case, {"Splash Screen": case.win("splash.bmp")}, vm=WHILE_SHOWN if shown else ())
                run = case.run(f"a {argument}", windows=["leave"])
                self.assertEqual((run.exit_code, len(splash_windows(run))), (0, int(shown)))
                self.assertEqual(case.jvm_log().main_arguments(), ["a", argument])

    def test_no_image_no_splash(self):
        case = self.case()
        splash_app(case, {"Splash Screen": "", "Splash Screen Shadow": "true"}, image=None)
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (0, []))


class OwnSplashWindow(WineTestCase):
    def show(self, image, shadow=None, suffix="", main_steps=("sleep 600",)):
        case = self.case(suffix)
        display = {"Splash Screen": case.win(image)}
        if shadow is not None:
            display["Splash Screen Shadow"] = shadow
        splash_app(case, display, vm=WHILE_SHOWN, image=None, main_steps=main_steps)
        return case

    def test_each_format_is_shown_centred_at_its_pixel_size(self):
        for image, shadow in [("splash.bmp", "true"), ("splash.jpg", "True"), ("splash.gif", None),
                              ("splash.png", "TRUE")]:
            with self.subTest(image=image, shadow=shadow):
                # The probe's screenshot waits 0.7 s for the window to be painted.
                case = self.show(image, shadow, suffix="-" + image.split(".")[1], main_steps=["sleep 1200"])
                images.quadrant_image(case.path(image))
                run = case.run(windows=[f"shot:{case.win('shot.bmp')}"])
                self.assertEqual(run.exit_code, 0)
                (window,) = run.windows
                self.assertEqual((window["class"], window["title"], window["owner"]), (SPLASH_CLASS, "", 0))
                self.assertEqual(window["class_style"], CS_SAVEBITS | CS_DBLCLKS | (CS_DROPSHADOW if shadow == "true" else 0))
                self.assertTrue(window["style"] & WS_POPUP)
                self.assertFalse(window["style"] & (WS_CAPTION | WS_THICKFRAME), "no caption, no border")
                self.assertEqual(window["exstyle"], WS_EX_TOOLWINDOW)
                self.assertEqual(window["rect"], [540, 452, 740, 572])
                for (x, y), colour in images.QUADRANTS.items():
                    seen = images.bmp_pixel(case.path("shot.bmp"), x, y)
                    self.assertTrue(images.close_colours(seen, colour), f"{image} at {x},{y}: {seen}, not {colour}")

    def test_picture_larger_than_the_screen_starts_off_screen(self):
        case = self.show("large.png")
        images.quadrant_image(case.path("large.png"), 1401, 1101)
        run = case.run(windows=["leave"])
        # (1280 - 1401) / 2 and (1024 - 1101) / 2, truncated toward zero.
        self.assertEqual(splash_windows(run)[0]["rect"], [-60, -38, 1341, 1063])

    def test_launch_does_not_wait_for_the_picture(self):
        case = self.case()
        # Some 0.5 s of decoding under Wine; main lasts long enough for the window to come.
        subprocess.run(["convert", "-size", "3000x2000", "gradient:red-blue", str(case.path("large.jpg"))], check=True)
        install_app(case, settings={"Display": {"Splash Screen": case.win("large.jpg")}},
                    scenario_text=scenario(main_steps=["sleep 3000"]))
        run = case.run(windows=["leave"])
        self.assertEqual(run.exit_code, 0)
        created = next(e for e in case.jvm_log().events if e.startswith("since process start "))
        self.assertLess(int(created.split()[3]) / 1000, splash_windows(run)[0]["ms"], "the VM was created first")

    def test_unreadable_image_gives_an_empty_window_and_the_launch_goes_on(self):
        for name, content in [("missing.bmp", None), ("empty.bmp", b""), ("text.bmp", b"not a picture")]:
            with self.subTest(image=name):
                case = self.show(name, suffix="-" + name.split(".")[0])
                if content is not None:
                    case.path(name).write_bytes(content)
                run = case.run(windows=["leave"])
                self.assertEqual(run.exit_code, 0)
                self.assertEqual(splash_windows(run)[0]["rect"], [640, 512, 640, 512])
                self.assertTrue(case.jvm_log().has("main sleep 600"))

    def test_error_box_is_owned_by_the_splash_window(self):
        # The splash starts with the VM's creation: a launch that fails before shows none.
        no_main, no_class_path = "No main method found in specified class.\n", "Java Class Path was not specified in INI file."
        for arguments, class_path, text, owner in [("", True, no_main, SPLASH_CLASS), ("-nosplash", True, no_main, ""),
                                                   ("", False, no_class_path, "")]:
            with self.subTest(arguments=arguments, class_path=class_path):
                case = self.case(arguments + ("" if class_path else "-no-class-path"))
                splash_app(case, {"Splash Screen": case.win("splash.bmp")}, vm=WHILE_SHOWN if owner else (),
                           has_main=False, class_path=class_path)
                # The probe can meet the box before the splash window in one look, so both get the
                # press (the splash window ignores it) and the box is found by its class.
                run = case.run(arguments, windows=["press:1", "press:1"], timeout_ms=15000)
                self.assertEqual((run.exit_code, run.timed_out), (FAILURE, False))
                [index] = [i for i, window in enumerate(run.windows) if window["class"] == "#32770"]
                self.assertEqual(run.box_text(index), text)
                self.assertEqual(run.windows[index]["owner_class"], owner)
                self.assertEqual(len(splash_windows(run)), 1 if owner else 0)

    def test_splash_closes_before_the_exception_dialog(self):
        case = self.case()
        splash_app(case, {"Splash Screen": case.win("splash.bmp")}, vm=WHILE_SHOWN,
                   main_steps=["sleep 1000", "throw java.lang.IllegalStateException: boom"],
                   settings={"Application": {"Failure Check": "Yes"}})
        run = case.run(windows=["leave", "press:1"])
        self.assertEqual(run.exit_code, 0)
        self.assertEqual([w["class"] for w in run.windows], [SPLASH_CLASS, "#32770"])
        self.assertEqual(run.windows[1]["title"], "Java Exception")
        self.assertLess(event_index(run, "gone", 0), event_index(run, "window", 1))

    def test_splash_closes_when_main_returns_not_when_the_application_ends(self):
        case = self.case()
        splash_app(case, {"Splash Screen": case.win("splash.bmp")}, vm=WHILE_SHOWN,
                   main_steps=["sleep 1000", "background", "sleep 2500"])
        run = case.run(windows=["leave"])
        self.assertEqual(run.exit_code, 0)
        # main ran 1 s while the splash was shown; the application ran on for 2.5 s without it.
        self.assertLess(shown_for_ms(run), 2000)


class SplashPictureFormats(WineTestCase):
    """Decoding outside the window, through jlprobe: the formats of the picture
    loader, and the imaging component that takes over when that loader
    refuses a picture (PNG on Windows; Wine's loader reads PNG itself)."""

    def decode(self, case, mode, name, *points):
        done = self.session.wine(str(BIN / "jlprobe.exe"), "picture", mode, case.win(name),
                                 *(f"{x},{y}" for x, y in points))
        return json.loads(done.stdout.decode().strip().splitlines()[-1])

    def test_picture_loader_formats(self):
        case = self.case()
        images.quadrant_image(case.path("splash.ico"))
        images.placeable_metafile(case.path("splash.wmf"), 200, 120, 96, 0xFF0000)
        images.enhanced_metafile(case.path("splash.emf"), 5292, 3175, 0x00FF00)
        for name, colours in [("splash.ico", images.QUADRANTS), ("splash.wmf", {(10, 10): "0000ff"}),
                              ("splash.emf", {(190, 110): "00ff00"})]:
            with self.subTest(image=name):
                picture = self.decode(case, "ole", name, *colours)
                self.assertEqual((picture["width"], picture["height"]), images.SIZE)
                self.assertEqual({(x, y): c for x, y, c in picture["pixels"]}, colours)

    def test_imaging_component_decodes_png_and_others(self):
        case = self.case()
        for name in ("splash.png", "splash.jpg", "splash.gif", "splash.bmp"):
            with self.subTest(image=name):
                images.quadrant_image(case.path(name))
                picture = self.decode(case, "wic", name, *images.QUADRANTS)
                self.assertEqual((picture["width"], picture["height"]), images.SIZE)
                for x, y, colour in picture["pixels"]:
                    self.assertTrue(images.close_colours(colour, images.QUADRANTS[(x, y)]), (x, y, colour))
        case.path("bad.png").write_bytes(b"\x89PNG\r\n\x1a\n broken")
        self.assertEqual(self.decode(case, "wic", "bad.png")["loaded"], False)


class SplashOnTheRealVm(RealVmTestCase):
    def test_splash_closes_when_main_returns_while_a_java_thread_runs_on(self):
        case = self.case()
        images.quadrant_image(case.path("splash.bmp"))
        install_real_app(case, {"Display": {"Splash Screen": case.win("splash.bmp")}})
        run = case.run("--sleep=500 --thread=4000", windows=["leave"])
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(len(splash_windows(run)), 1)
        # Shown while the VM started and main ran; the application ran on for 4 s without it.
        self.assertLess(shown_for_ms(run), 3000)
        self.assertEqual(console_file_report(case.path("out.txt"))[-1], "thread done")
