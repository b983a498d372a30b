"""The dialog that shows an exception escaping main."""
import subprocess

from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.dialogs import (ES_READONLY, SIZE_GRIP, SS_ICON, WS_THICKFRAME, Screenshot, check_centred_on_work_area,
                             check_template_layout)
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

# How far each control's left, top, right and bottom edges follow the dialog's growth (x, y).
ANCHORED = {209: "..xy", 210: "..x.", 211: ".yxy", 212: ".yxy", 208: "..xy", 1: "xyxy", 2: "xyxy",
            SIZE_GRIP: "xyxy", 204: "...."}


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

    def test_controls_sit_where_the_template_puts_them_and_it_opens_centred(self):
        _, run = self.show("en", 1)
        dialog = run.windows[0]
        check_template_layout(self, dialog, TEMPLATE, DIALOG_SIZE, reference=209)
        check_centred_on_work_area(self, dialog)

    def test_grows_with_its_controls_anchored_but_not_below_its_first_size(self):
        grow = (111, 100)
        case = self.case()
        throwing_app(case)
        run = case.run(windows=[f"grow:{grow[0]},{grow[1]};report;shot:{case.win('grown.bmp')};grow:-300,-300;report"
                                ";press:1"])
        first, grown, shrunk = run.windows
        self.assertEqual(run.control(first, SIZE_GRIP)["rect"][2:], first["client"][2:], "grip in the corner")
        self.assertTrue(run.control(first, SIZE_GRIP)["visible"])
        self.assertEqual(grown["client"][2:], [first["client"][2] + grow[0], first["client"][3] + grow[1]])
        for control_id, follows in ANCHORED.items():
            before, after = run.control(first, control_id)["rect"], run.control(grown, control_id)["rect"]
            moved = [grow[0] if f == "x" else grow[1] if f == "y" else 0 for f in follows]
            with self.subTest(control=control_id):
                self.assertEqual(after, [edge + by for edge, by in zip(before, moved)])
        self.assertEqual(shrunk["rect"], first["rect"], "no smaller than it opened")
        self.assertEqual([c["rect"] for c in shrunk["controls"]], [c["rect"] for c in first["controls"]])
        # Inside the grown group box, between the text and the report, only the dialog's face shows:
        # nothing was left unpainted.
        shot = Screenshot(case.path("grown.bmp"), grown)
        text, report = run.control(grown, 210)["rect"], run.control(grown, 208)["rect"]
        gap = shot.colours([report[0], text[3] + 1, report[2], report[1] - 1])
        self.assertEqual(list(gap), [shot.pixel(2, 2)], gap)
        subprocess.run(["convert", str(case.path("grown.bmp")), str(self.output("exception-dialog-grown.png"))],
                       check=True)

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
