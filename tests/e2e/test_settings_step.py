"""The settings step of a launch, as a user meets it."""
from harness.base import WineTestCase
from harness.launch import FAILURE

MAIN_CLASS_MISSING = {
    "en": ("Error", "Main class was not specified in INI file."),
    "de": ("Fehler", "Main class in der INI-Datei nicht spezifiziert."),
}


class MissingMainClass(WineTestCase):
    def check_box(self, locale):
        case = self.case(locale)
        case.install_launcher()
        case.write_ini({"Application": {"Single Instance": "no"}})
        run = case.run(locale=locale, windows=[f"shot:{case.win('box.bmp')};press:1"])

        self.assertEqual(run.exit_code, FAILURE)
        self.assertEqual(len(run.windows), 1)
        box = run.windows[0]
        title, text = MAIN_CLASS_MISSING[locale]
        self.assertEqual(box["class"], "#32770")
        self.assertEqual(box["title"], title)
        self.assertEqual(box["owner"], 0)
        self.assertEqual(run.box_text(), text)
        buttons = [c for c in box["controls"] if c["class"] == "Button"]
        self.assertEqual([b["id"] for b in buttons], [1])
        icon = run.control(box, 0x440)  # the stop icon's static control
        self.assertEqual(icon["class"], "Static")

    def test_english(self):
        self.check_box("en")

    def test_german(self):
        self.check_box("de")

    def test_no_settings_file_at_all(self):
        case = self.case()
        case.install_launcher()
        run = case.run()
        self.assertEqual(run.exit_code, FAILURE)
        self.assertEqual(run.box_text(), MAIN_CLASS_MISSING["en"][1])


class ExecutablePath(WineTestCase):
    def test_path_without_a_dot_ends_silently(self):
        case = self.case()
        case.install_launcher("launcher")
        case.write_ini({"Java Runtime Environment": {"Main Class": "a.B"}}, name="launcher.ini")
        run = case.run(exe="launcher")
        self.assertEqual(run.windows, [])
        self.assertEqual(run.exit_code, FAILURE)

    def test_dot_in_folder_name_decides_the_settings_file(self):
        # C:\t\<case>\my.app\launcher reads C:\t\<case>\my.ini
        case = self.case()
        case.install_launcher("my.app\\launcher")
        case.write_ini({"Java Runtime Environment": {"Main Class": "a.B", "JRE Path": case.win("nothing")}},
                       name="my.ini")
        run = case.run(exe="my.app\\launcher", windows=["press:2"])
        # The main class was found in my.ini: the launch went on to look for a runtime.
        self.assertEqual([w["title"] for w in run.windows], ["JRE Not Found"])
        self.assertEqual(run.exit_code, FAILURE)
