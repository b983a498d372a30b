"""What the launcher hands the VM: options, environment, arguments, stack."""
import json

from harness.apps import install_app, scenario
from harness.base import WineTestCase
from harness.launch import BIN


def jar(case, relative):
    target = case.path(relative)
    target.parent.mkdir(parents=True, exist_ok=True)
    target.write_bytes(b"PK\x05\x06" + bytes(18))


class OptionList(WineTestCase):
    def test_order_and_class_path_entries(self):
        case = self.case()
        for name in ("lib\\b.jar", "ext\\e.zip", "ext\\other.txt"):
            jar(case, name)
        install_app(case, settings={
            "Java Runtime Environment": {
                "Library Path": case.win("native"),
                "Virtual Machine Parameters": '  -Dx="a b"  -Dy=%JL_JVM_HOME%  ',
            },
            "Class Path": {"Class Path": ";".join([
                r"C:\Lib\direct.jar",      # absolute: taken whether or not it exists
                r"\lib\*.jar",             # relative, searched beside the launcher
                "",                        # empty piece: the launcher folder itself
                r"lib\b.jar",              # no leading backslash: joined to the folder name, no match
                case.win(r"ext\*.zip"),    # absolute wildcard
            ]) + ";"},
        })
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        log = case.jvm_log()
        options = log.options()
        home = case.win("rt")

        library_path = options[0][0]
        self.assertTrue(library_path.startswith(f"-Djava.library.path={case.win('native')};{case.win()}\\;.;"),
                        library_path)
        self.assertTrue(library_path.endswith(f";{home}\\lib"), library_path)
        self.assertEqual(options[1][0], "-Djava.class.path=" + ";".join([
            r"C:\Lib\direct.jar", case.win(r"lib\b.jar"), case.win(), case.win(r"ext\e.zip")]) + ";")
        self.assertEqual(options[2:], [("-Dx=a b", False), (f"-Dy={home}", False), ("abort", True), ("exit", True)])
        self.assertEqual(log.problems(), [])

    def test_embedded_jar_alone_makes_the_class_path(self):
        case = self.case()
        install_app(case, class_path=False, settings={"Application": {"Embedded Jar": "yes"}})
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(case.jvm_log().option_strings(),
                         [f"-Djava.class.path={case.win('app.exe')}", "abort", "exit"])

    def test_memory_sized_options_follow_the_memory_windows_reports(self):
        memory = json.loads(self.session.wine(str(BIN / "jlprobe.exe"), "memory").stdout)
        total_kb = memory["total_physical"] // 1024
        case = self.case()
        install_app(case, settings={"Java Runtime Environment": {
            "Virtual Machine Parameters": "-Xmx10:64:100000P -Xms0:256P -Xmx100:1:2P -XMX50P -Xss1:64:128T"}})
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        options = case.jvm_log().option_strings()
        expected_mx = max(min(int(total_kb * 0.10), 100000 * 1024), 64 * 1024)
        self.assertEqual(options[1:5], [f"-Xmx{expected_mx}K", "-Xms262144K", "-Xmx2048K", "-XMX50P"])
        self.assertEqual(options[5], "-Xss131072K", "1% of the address space is far above the 128 MB cap")


class Environment(WineTestCase):
    def test_runtime_variables_and_path(self):
        case = self.case()
        install_app(case, settings={"Java Runtime Environment": {"System Path": r"C:\Tools"}})
        run = case.run()
        self.assertEqual(run.exit_code, 0)
        log = case.jvm_log()
        home = case.win("rt")
        self.assertEqual(log.env("JL_JVM_PATH"), home + r"\bin\server\jvm.dll")
        self.assertEqual(log.env("JL_JVM_HOME"), home)
        path = log.env("Path")
        self.assertTrue(path.startswith("C:\\Tools;"), path)
        self.assertTrue(path.endswith(f";{home}\\bin"), path)
        self.assertNotIn("-Djava.library.path", " ".join(log.option_strings()))


class MainThreadStack(WineTestCase):
    def test_xss_sizes_the_thread_that_creates_the_vm(self):
        case = self.case()
        install_app(case, settings={"Java Runtime Environment": {"Virtual Machine Parameters": "-Xss2m"}})
        self.assertEqual(case.run().exit_code, 0)
        self.assertEqual(case.jvm_log().creation_stack_size(), 2 * 1024 * 1024)

    def test_without_xss_the_vm_default_is_used(self):
        case = self.case()
        install_app(case, scenario_text=scenario(vm=["javaStackSize = 3145728"]))
        self.assertEqual(case.run().exit_code, 0)
        log = case.jvm_log()
        self.assertTrue(log.with_prefix("JNI_GetDefaultJavaVMInitArgs version=0x00010001"))
        self.assertEqual(log.creation_stack_size(), 3 * 1024 * 1024)


class MainArguments(WineTestCase):
    def test_command_line_arguments_then_cmd_expanded(self):
        case = self.case()
        install_app(case, settings={"Application": {"Cmd": r'third "%JL_JVM_HOME%\x y"  '}})
        run = case.run('first "sec ond" -nosplash ""')
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(case.jvm_log().main_arguments(),
                         ["first", "sec ond", "-nosplash", "", "third", case.win("rt") + r"\x y"])

    def test_non_ascii_arguments_reach_main_intact(self):
        case = self.case()
        install_app(case)
        run = case.run('Grüße "😀 x"')
        self.assertEqual(run.exit_code, 0)
        self.assertEqual(case.jvm_log().main_arguments(), ["Grüße", "😀 x"])
