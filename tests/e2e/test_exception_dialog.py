"""The dialog that shows an exception escaping main."""
import subprocess

from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import FAILURE

TRACE = r"java.lang.IllegalStateException: Grüße vom Fehler\n\tat com.example.App.run(App.java:12)\n\tat com.example.App.main(App.java:7)"
TRACE_SHOWN = "java.lang.IllegalStateException: Grüße vom Fehler\r\n\tat com.example.App.run(App.java:12)\r\n\tat com.example.App.main(App.java:7)"

TEXTS = {
    "en": {"title": "Java Exception", 1: "Ignore", 2: "Stop", 209: "Uncaught Exception",
           210: "The java process has thrown the following uncaught exception:",
           211: "Press Ignore to continue and ignore the exception or press Stop to close the application.",
           212: "WARNING: If you choose to Stop the application any unsaved data will be lost."},
    "de": {"title": "Java Fehler", 1: "Ignorieren", 2: "Stop", 209: "Unbehandelte Ausnahme",
           210: "Der Javaprozess hat die folgende unbehandelte Ausnahme ausgegeben:",
           211: "Klicken Sie auf Ignorieren, um fortzufahren und die Ausnahme zu übergehen oder Stop, um die Anwendung zu schließen.",
           212: "Achtung: Wenn Sie die Anwendung anhalten, gehen alle nicht gespeicherten Daten verloren."},
}

# Where the template puts each control: x, y, width, height in dialog units.
TEMPLATE = {1: (153, 210, 50, 14), 2: (209, 210, 50, 14), 209: (8, 11, 259, 221), 204: (16, 26, 21, 20),
            210: (44, 26, 215, 23), 208: (16, 54, 243, 102), 211: (16, 164, 243, 18), 212: (16, 187, 243, 18)}
DIALOG_SIZE = (275, 242)

ES_READONLY, WS_THICKFRAME, SS_ICON = 0x0800, 0x00040000, 0x3


def throwing_app(case, failure_check="Yes"):
    install_app(case, settings={"Application": {"Failure Check": failure_check}},
                scenario_text=scenario(main_steps=[f"throw {TRACE}"]))


class ExceptionDialog(WineTestCase):
    def show(self, locale, answer, shot=None):
        case = self.case(f"-{locale}-{answer}")
        throwing_app(case)
        actions = ([f"shot:{case.win('dialog.bmp')}"] if shot else []) + [f"press:{answer}"]
        run = case.run(locale=locale, windows=[";".join(actions)])
        if shot:
            subprocess.run(["convert", str(case.path("dialog.bmp")), str(self.output(shot))], check=True)
        return case, run

    def test_contents_in_both_languages_with_a_screenshot(self):
        for locale in ("en", "de"):
            with self.subTest(locale=locale):
                _, run = self.show(locale, 1, shot=f"exception-dialog-{locale}.png")
                self.assertEqual(len(run.windows), 1)
                dialog = run.windows[0]
                texts = TEXTS[locale]
                self.assertEqual(dialog["title"], texts["title"])
                self.assertEqual(dialog["owner"], 0)
                self.assertTrue(dialog["style"] & WS_THICKFRAME, "the frame can be resized")
                for control_id in (1, 2, 209, 210, 211, 212):
                    self.assertEqual(run.control(dialog, control_id)["text"], texts[control_id])
                report = run.control(dialog, 208)
                self.assertEqual(report["text"].rstrip("\r\n"), TRACE_SHOWN)
                self.assertTrue(report["style"] & ES_READONLY)
                self.assertEqual(run.control(dialog, 204)["style"] & 0x1F, SS_ICON)
                self.assertTrue((self.output(f"exception-dialog-{locale}.png")).stat().st_size > 1000)

    def test_controls_sit_where_the_template_puts_them(self):
        _, run = self.show("en", 1)
        dialog = run.windows[0]
        group = run.control(dialog, 209)["rect"]
        # Pixels per dialog unit, from the control that spans the dialog.
        scale_x = (group[2] - group[0]) / TEMPLATE[209][2]
        scale_y = (group[3] - group[1]) / TEMPLATE[209][3]
        for control_id, (x, y, width, height) in TEMPLATE.items():
            left, top, right, bottom = run.control(dialog, control_id)["rect"]
            with self.subTest(control=control_id):
                self.assertAlmostEqual(left, x * scale_x, delta=2)
                self.assertAlmostEqual(top, y * scale_y, delta=2)
                if control_id == 204:
                    continue  # an icon control takes the size of the icon it shows
                self.assertAlmostEqual(right - left, width * scale_x, delta=2)
                self.assertAlmostEqual(bottom - top, height * scale_y, delta=2)
        client = dialog["client"]
        self.assertAlmostEqual(client[2], DIALOG_SIZE[0] * scale_x, delta=3)
        self.assertAlmostEqual(client[3], DIALOG_SIZE[1] * scale_y, delta=3)

    def test_dialog_is_centred_on_the_work_area(self):
        _, run = self.show("en", 1)
        dialog = run.windows[0]
        left, top, right, bottom = dialog["rect"]
        area = dialog["work_area"]
        self.assertLessEqual(abs((area[0] + area[2]) // 2 - (left + right) // 2), 1)
        self.assertLessEqual(abs((area[1] + area[3]) // 2 - (top + bottom) // 2), 1)

    def test_ignore_goes_on_and_ends_with_zero(self):
        case, run = self.show("en", 1)
        self.assertEqual(run.exit_code, 0)
        log = case.jvm_log()
        self.assertTrue(log.has("ExceptionClear"))
        self.assertFalse(log.has("System.exit"))

    def test_stop_ends_through_system_exit_minus_one(self):
        case, run = self.show("de", 2)
        self.assertEqual(run.exit_code, FAILURE)
        log = case.jvm_log()
        self.assertTrue(log.has("System.exit -1"))
        self.assertTrue(log.has("exit hook -1"))

    def test_closing_the_window_counts_as_stop(self):
        case = self.case()
        throwing_app(case)
        run = case.run(windows=["close"])
        self.assertEqual(run.exit_code, FAILURE)

    def test_without_failure_check_no_dialog(self):
        case = self.case()
        throwing_app(case, failure_check="no")
        run = case.run()
        self.assertEqual((run.exit_code, run.windows), (0, []))
        self.assertFalse(case.jvm_log().has("ExceptionClear"))
