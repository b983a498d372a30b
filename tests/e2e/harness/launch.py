"""Test cases on the Wine drive: a folder per case holding a launcher, its
settings file and fake runtimes, and runs of the launcher through jlprobe."""
import json
import shutil
from dataclasses import dataclass, field
from pathlib import Path

from .jvm_log import JvmLog

REPO = Path(__file__).resolve().parents[3]
BIN = REPO / "build" / "windows" / "bin"
FAILURE = 0xFFFFFFFF


@dataclass
class Run:
    exit_code: int = None
    windows: list = field(default_factory=list)
    actions: list = field(default_factory=list)
    events: list = field(default_factory=list)
    timed_out: bool = False
    stderr: str = ""  # the probe's, which the programs it starts share
    # A console program's, with stdio="pipe"; its console's screen with stdio="console".
    piped_out: str = None
    piped_err: str = None
    console_text: str = None

    def control(self, window, control_id):
        return next(c for c in window["controls"] if c["id"] == control_id)

    def box_text(self, index=0):
        """The message text of a message box (its static control 0xFFFF)."""
        return self.control(self.windows[index], 0xFFFF)["text"]


def ini_text(sections):
    """sections: {section: {key: value}}; a str is taken as the whole file."""
    if isinstance(sections, str):
        return sections
    lines = []
    for section, keys in sections.items():
        lines.append(f"[{section}]")
        lines.extend(f"{key}={value}" for key, value in keys.items())
        lines.append("")
    return "\r\n".join(lines)


class Case:
    def __init__(self, session, name):
        self.session = session
        self.name = name
        self.folder = session.drive_c / "t" / name
        if self.folder.exists():
            shutil.rmtree(self.folder)
        self.folder.mkdir(parents=True)
        self._jobs = 0

    def path(self, relative=""):
        return self.folder / relative.replace("\\", "/")

    def win(self, relative=""):
        return f"C:\\t\\{self.name}" + (f"\\{relative}" if relative else "")

    def install_launcher(self, name="app.exe", source=BIN / "jlaunch.exe"):
        target = self.path(name)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(source, target)
        return self.win(name)

    def write_ini(self, sections, name="app.ini", encoding="utf-16"):
        """UTF-16 with BOM by default, which the profile API reads on every Windows."""
        target = self.path(name)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(ini_text(sections).encode(encoding))
        return target

    def make_runtime(self, home="rt", location=r"bin\server\jvm.dll", library="jvm.dll", scenario=None):
        """A runtime folder holding the jvm.dll test double; returns its Windows path."""
        target = self.path(f"{home}\\{location}")
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(BIN / library, target)
        if scenario is not None:
            (target.parent / "jvm.scenario").write_text(scenario, encoding="utf-8")
        (self.path(home) / "bin").mkdir(parents=True, exist_ok=True)
        return self.win(home)

    def jvm_log(self, home="rt", location=r"bin\server"):
        return JvmLog(self.path(f"{home}\\{location}\\jvm.log"))

    def run(self, arguments="", exe="app.exe", windows=(), locale="en", timeout_ms=30000, command_line=None,
            dll_overrides="", cwd=None, variables=None, stdio=None, console_event=None, affinity=None):
        """dll_overrides: Wine load-order overrides, e.g. "dbghelp=n,b" to make Wine behave as Windows
        does and prefer a DLL found beside the program over its own built-in one. cwd: the program's
        working directory (a Windows path; the probe's own when None). variables: environment
        variables for the program (WineSession.env). stdio: "pipe" or "console" for a console
        program (see jlprobe). console_event: ("ctrl-c" or "close", Windows path of a file), the
        event sent once the file exists. affinity: a mask of the processors the program may run on."""
        return self.start(arguments, exe, windows, locale, timeout_ms, command_line, dll_overrides, cwd,
                          variables, stdio, console_event, affinity).result()

    def start(self, arguments="", exe="app.exe", windows=(), locale="en", timeout_ms=30000, command_line=None,
              dll_overrides="", cwd=None, variables=None, stdio=None, console_event=None, affinity=None):
        """As run, without waiting: result() of what it returns waits for the Run."""
        exe_path = self.win(exe)
        job = [f"exe={exe_path}", f"timeout={timeout_ms}",
               "cmdline=" + (command_line if command_line is not None
                             else f'"{exe_path}"' + (f" {arguments}" if arguments else ""))]
        job += [f"cwd={cwd}"] if cwd else []
        job += [f"stdio={stdio}"] if stdio else []
        job += [f"affinity={affinity:x}"] if affinity else []
        job += [f"console_event={console_event[0]},{console_event[1]}"] if console_event else []
        job += [f"window={actions}" for actions in windows]
        program = self._probe("run", job, locale=locale, dll_overrides=dll_overrides, variables=variables)
        return StartedRun(program, timeout_ms / 1000 + 60)

    def run_many(self, argument_lines, exe="app.exe", timeout_ms=120000):
        """Starts the program once per line of arguments, all at once; returns
        ([exit code per line], milliseconds until the last one ended)."""
        exe_path = self.win(exe)
        job = [f"exe={exe_path}", f"timeout={timeout_ms}"]
        job += [f'cmdline="{exe_path}"' + (f" {line}" if line else "") for line in argument_lines]
        events = parse_events(self._probe("many", job).finish(timeout_ms / 1000 + 60).stdout)
        codes = {e["index"]: e["code"] for e in events if e["event"] == "exit"}
        elapsed = next(e["ms"] for e in events if e["event"] == "elapsed")
        return [codes.get(i) for i in range(len(argument_lines))], elapsed

    def _probe(self, command, job, locale="en", dll_overrides="", variables=None):
        self._jobs += 1
        job_name = f"probe-job-{self._jobs}.txt"
        self.path(job_name).write_text("\n".join(job) + "\n", encoding="utf-8")
        return self.session.spawn(str(BIN / "jlprobe.exe"), command, self.win(job_name), locale=locale,
                                  dll_overrides=dll_overrides, variables=variables)


class StartedRun:
    def __init__(self, program, timeout):
        self._program = program
        self._timeout = timeout

    def result(self):
        finished = self._program.finish(self._timeout)
        run = parse_run(finished.stdout.decode("utf-8", errors="replace"))
        run.stderr = finished.stderr.decode("utf-8", errors="replace")
        return run


def parse_events(output):
    text = output.decode("utf-8", errors="replace") if isinstance(output, bytes) else output
    return [json.loads(line) for line in map(str.strip, text.splitlines()) if line.startswith("{")]


def parse_run(output):
    run = Run()
    for event in parse_events(output):
        run.events.append(event)
        kind = event.get("event")
        if kind == "window":
            run.windows.append(event)
        elif kind == "action":
            run.actions.append(event)
        elif kind == "exit":
            run.exit_code = event["code"]
        elif kind == "timeout":
            run.timed_out = True
        elif kind == "output":
            run.piped_out, run.piped_err = event["stdout"], event["stderr"]
        elif kind == "console":
            run.console_text = event["text"]
        elif kind == "error":
            raise RuntimeError(f"jlprobe: {event}")
    return run
