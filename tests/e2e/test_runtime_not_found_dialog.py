"""The dialog shown when no runtime is found: its texts, browsing to a runtime folder,
storing the choice, and the link to the download site."""
import shutil
import subprocess
import time

from expected_texts import ENGLISH, GERMAN
from harness.apps import install_app, install_discovering_app, loaded_libraries, scenario
from harness.base import WineTestCase
from harness.dialogs import (ES_READONLY, SIZE_GRIP, SS_ICON, WS_DISABLED, WS_THICKFRAME, Screenshot,
                             check_centred_on_work_area, check_template_layout)
from harness.launch import BIN, FAILURE
from harness.registry import key_values

ADDRESS = "https://java.com/"
STRINGS = {"en": ENGLISH, "de": GERMAN}
TEXTS = {
    "en": {"title": "JRE Not Found", 1: "OK", 2: "Cancel", 202: "Browse...",
           206: "If you have a JRE installed you can browse for it below:", "labels": ["JRE Path:", "Missing JRE"]},
    "de": {"title": "JRE nicht gefunden", 1: "Ok", 2: "Abbrechen", 202: "Durchsuche...",
           206: "Wenn Sie ein JRE installiert haben, können Sie unten danach suchen:",
           "labels": ["JRE Pfad:", "Kein JRE"]},
}
# Where the template puts each control (x, y, width, height in dialog units); controls without an id by text.
TEMPLATE = {
    "en": {1: (107, 122, 50, 14), 2: (161, 122, 50, 14), 201: (60, 89, 94, 14), "JRE Path:": (12, 92, 45, 8),
           202: (157, 89, 50, 14), "Missing JRE": (8, 11, 203, 103), 203: (44, 24, 147, 25), 205: (44, 55, 75, 8),
           204: (16, 26, 21, 20), 206: (12, 73, 195, 8)},
    "de": {1: (107, 122, 50, 14), 2: (161, 122, 50, 14), 201: (60, 89, 91, 14), "JRE Pfad:": (12, 92, 45, 8),
           202: (154, 89, 52, 14), "Kein JRE": (8, 11, 203, 103), 203: (44, 24, 147, 25), 205: (44, 55, 75, 8),
           204: (16, 26, 20, 20), 206: (12, 70, 195, 17)},
}
DIALOG_SIZE = (219, 145)
PATH_BOX, BROWSE, LINK = 201, 202, 205


def add_runtimes(case):
    """A Java 8 JDK (its JVM under jre\\), a Java 17 JDK, a client-only JRE, a 32-bit runtime, an empty folder."""
    for home, location in (("jdk8", r"jre\bin\client\jvm.dll"), ("jdk17", r"bin\server\jvm.dll"),
                           ("client", r"bin\client\jvm.dll"), ("x86", r"bin\server\jvm.dll")):
        case.make_runtime(home=home, location=location, scenario=scenario())
    shutil.copyfile(BIN / "fixtures" / "jvm-x86.dll", case.path(r"x86\bin\server\jvm.dll"))
    case.path("empty").mkdir()


def ok_enabled(run, window):
    return not run.control(window, 1)["style"] & WS_DISABLED


def browsing(case, folders):
    return ";".join(f"browse:{BROWSE},{case.win(folder)};report" for folder in folders)


class RuntimeNotFoundDialog(WineTestCase):
    def test_texts_and_layout_in_both_languages_and_cancel(self):
        for locale in ("en", "de"):
            with self.subTest(locale=locale):
                case = self.case(f"-{locale}")
                install_discovering_app(case)
                run = case.run(locale=locale, windows=[f"shot:{case.win('dialog.bmp')};press:2"])
                self.assertEqual((run.exit_code, len(run.windows)), (FAILURE, 1))
                dialog, texts, strings = run.windows[0], TEXTS[locale], STRINGS[locale]
                self.assertEqual((dialog["title"], dialog["owner"]), (texts["title"], 0))
                for control_id in (1, 2, 202, 206):
                    self.assertEqual(run.control(dialog, control_id)["text"], texts[control_id])
                self.assertEqual(sorted(c["text"] for c in dialog["controls"] if c["id"] == -1), texts["labels"])
                self.assertEqual(run.control(dialog, 203)["text"], strings[207].replace("%s", strings[217]))
                self.assertEqual(run.control(dialog, LINK)["text"], ADDRESS)
                self.assertEqual(run.control(dialog, 204)["style"] & 0x1F, SS_ICON)
                path_box = run.control(dialog, PATH_BOX)
                self.assertEqual(path_box["text"], "")
                self.assertTrue(path_box["style"] & ES_READONLY)
                self.assertFalse(ok_enabled(run, dialog))
                self.assertFalse(dialog["style"] & WS_THICKFRAME)
                self.assertNotIn(SIZE_GRIP, [c["id"] for c in dialog["controls"]])
                check_template_layout(self, dialog, TEMPLATE[locale], DIALOG_SIZE, reference=texts["labels"][1])
                check_centred_on_work_area(self, dialog)
                subprocess.run(["convert", str(case.path("dialog.bmp")),
                                str(self.output(f"runtime-not-found-{locale}.png"))], check=True)

    def test_a_server_jvm_is_asked_for_and_closing_the_dialog_cancels(self):
        case = self.case()
        install_discovering_app(case, {"Java Runtime Environment": {"JVM Type": "server", "Minimum Version": "1.8"}})
        run = case.run(windows=["close"])
        phrase = ENGLISH[219].replace("%s", "1.8")
        self.assertEqual(run.control(run.windows[0], 203)["text"], ENGLISH[206].replace("%s", phrase))
        self.assertEqual(run.exit_code, FAILURE)

    def test_browsing_enables_ok_only_for_a_folder_with_a_jvm_of_the_type(self):
        rows = [
            # what, locale, "JVM Type", [(folder browsed to, OK enabled after it)], how it ends, exit code, loaded
            ("default type", "de", "", [("jdk8", False), (r"jdk8\jre", True), ("empty", False), ("jdk17", True)],
             "press:1", 0, [r"jdk17\bin\server"]),
            # OK sent while it is disabled does not end the dialog.
            ("server type", "en", "server", [("client", False), ("jdk17", True), ("client", False)],
             "press:1;wait:300;press:2", FAILURE, []),
        ]
        for what, locale, jvm_type, steps, ending, exit_code, loaded in rows:
            with self.subTest(what):
                case = self.case(f"-{locale}")
                install_discovering_app(case, {"Java Runtime Environment": {"JVM Type": jvm_type}})
                add_runtimes(case)
                run = case.run(locale=locale, windows=[browsing(case, [f for f, _ in steps]) + ";" + ending])
                self.assertTrue(all(a["ok"] for a in run.actions), run.actions)
                self.assertEqual(len(run.windows), 1 + len(steps))
                for (folder, enabled), report in zip(steps, run.windows[1:]):
                    self.assertEqual(run.control(report, PATH_BOX)["text"], case.win(folder))
                    self.assertEqual(ok_enabled(run, report), enabled, folder)
                browser = next(e for e in run.events if e["event"] == "browser")
                self.assertIn(STRINGS[locale][214], [c["text"] for c in browser["controls"]])
                self.assertEqual(run.exit_code, exit_code)
                self.assertEqual(loaded_libraries(case), loaded)

    def test_the_folder_chosen_is_stored_for_both_launchers_and_found_next_time(self):
        rows = [
            # what, "Application" settings ("Pair Product" becomes the companion's path), folder chosen, stored,
            # exit code, JVM libraries loaded
            ("with Pair Product", {"Pair Product": ""}, "jdk17", True, 0, [r"jdk17\bin\server"]),
            ("a 32-bit runtime goes to the companion", {"Pair Product": "", "Pair Return Code": "Yes"},
             "x86", True, 3, []),
            ("without Pair Product nothing is stored", {}, "jdk17", False, 0, [r"jdk17\bin\server"]),
        ]
        for index, (what, application, folder, stored, exit_code, loaded) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                product = f"Dialog Test {index}"
                if "Pair Product" in application:
                    application = dict(application, **{"Pair Product": case.win("app32.exe")})
                install_discovering_app(case, {"Product Information": {"Product Name": product,
                                                                       "Product Code": "{D-1}"},
                                               "Application": application})
                shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("app32.exe"))
                add_runtimes(case)
                user_folder = next(self.session.drive_c.glob("users/*/AppData/Roaming")) / product
                try:
                    run = case.run(windows=[browsing(case, [folder]) + ";press:1"])
                    self.assertEqual(run.exit_code, exit_code)
                    self.assertEqual(loaded_libraries(case), loaded)
                    self.assertEqual(case.path("app32.exe.cmdline").exists(), exit_code == 3)
                    written = {p.name: p.read_bytes() for p in user_folder.glob("{D-1}/*.ini")}
                    if not stored:
                        self.assertFalse(user_folder.exists())
                        continue
                    self.assertEqual(sorted(written), ["app.ini", "app32.ini"])
                    for name, content in written.items():
                        self.assertIn(f"JRE Path={case.win(folder)}\\", decoded(content), name)
                    if exit_code == 0:
                        again = case.run()
                        self.assertEqual((again.exit_code, again.windows), (0, []))
                finally:
                    shutil.rmtree(user_folder, ignore_errors=True)

    def test_only_a_launch_that_shows_the_dialog_loads_the_window_libraries(self):
        # The GUI launcher loads the window set for the application's windows while the VM is
        # created (see docs/library-loading.md); the dialog's libraries, and for the console
        # launcher any window library, only a launch that shows a window loads.
        for exe, expected in (("jlaunch.exe", r"window libraries loaded:( none|( user32| gdi32| ole32)+)$"),
                              ("jlaunchc.exe", r"window libraries loaded: none$")):
            with self.subTest(exe=exe):
                case = self.case(f"-runtime-{exe}")
                install_app(case)
                case.install_launcher(source=BIN / exe)
                self.assertEqual(case.run().exit_code, 0)
                [line] = case.jvm_log().with_prefix("window libraries loaded:")
                self.assertRegex(line, expected)

        case = self.case("-dialog")
        install_discovering_app(case)
        run = case.run(windows=["modules;press:2"])
        modules = next(e for e in run.events if e["event"] == "modules")["paths"]
        comctl32 = [p.lower() for p in modules if p.lower().endswith("\\comctl32.dll")]
        self.assertEqual(len(comctl32), 1, modules)
        self.assertIn("microsoft.windows.common-controls_6595b64144ccf1df_6.0.", comctl32[0])


def decoded(content):
    return content.decode("utf-16") if content[:2] == b"\xff\xfe" else content.decode("latin-1")


BLUE, PURPLE, RED, GREEN, BLACK = (0, 0, 255), (128, 0, 128), (255, 0, 0), (0, 128, 0), (0, 0, 0)
LINK_COLOURS = {BLUE, PURPLE, RED, GREEN}


class DownloadLink(WineTestCase):
    def test_drawn_in_the_users_colours_and_opened_through_the_shell(self):
        rows = [
            # what, "Anchor Color", "Anchor Color Visited", how the link is opened, link colour, visited colour
            ("the user's colours; a click", "255,0,0", "0,128,0", f"click:{LINK},3,3", RED, GREEN),
            ("malformed values keep the defaults; Enter", "255,0,", "0,128", f"key:{LINK},13", BLUE, PURPLE),
            ("lowest 8 bits; a value over 24 bytes; Space", "256,0,0", "000000000000,128,0", f"key:{LINK},32",
             BLACK, PURPLE),
        ]
        for index, (what, colour, visited, opening, link_colour, visited_colour) in enumerate(rows):
            with self.subTest(what):
                case = self.case(f"-{index}")
                install_discovering_app(case)
                shutil.copyfile(BIN / "fixtures" / "companion.exe", case.path("recorder.exe"))
                shots = [case.win(f"{name}.bmp") for name in ("before", "pressed", "opened")]
                # The button goes down on the link and up outside it, which opens nothing but gives it the focus.
                actions = [f"shot:{shots[0]}", f"click:{LINK},3,3,300,3", f"shot:{shots[1]}", opening,
                           f"shot:{shots[2]}", "press:2"]
                with key_values(self.session, case, r"HKCU\Software\Microsoft\Internet Explorer\Settings",
                                {"Anchor Color": colour, "Anchor Color Visited": visited}), \
                        key_values(self.session, case, r"HKCR\https\shell\open\command",
                                   {None: f'"{case.win("recorder.exe")}" "%1"'}):
                    run = case.run(windows=[";".join(actions)])
                dialog = run.windows[0]
                link = run.control(dialog, LINK)["rect"]
                expected = (link_colour, link_colour, visited_colour)
                for shot, colour_shown in zip(("before", "pressed", "opened"), expected):
                    counts = Screenshot(case.path(f"{shot}.bmp"), dialog).colours(link)
                    self.assertGreater(counts.get(colour_shown, 0), 20, f"{shot}: {counts}")
                    for other in LINK_COLOURS - {colour_shown}:
                        self.assertNotIn(other, counts, shot)
                self.assertEqual(recorded(case), f'"{case.win("recorder.exe")}" "{ADDRESS}"')
                if index == 0:
                    subprocess.run(["convert", str(case.path("opened.bmp")),
                                    str(self.output("runtime-not-found-link-visited.png"))], check=True)


def recorded(case, timeout=10):
    """The command line the shell gave the recorder: it runs on its own, so wait for it."""
    record = case.path("recorder.exe.cmdline")
    deadline = time.monotonic() + timeout
    while not record.exists() and time.monotonic() < deadline:
        time.sleep(0.1)
    return record.read_text(encoding="utf-16-le") if record.exists() else None
