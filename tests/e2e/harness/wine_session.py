"""One Wine prefix and one Xvfb display for a whole end-to-end run.

Created at the start of the run and removed at its end, so runs never see
each other's registry, files or kernel objects.
"""
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path


def _free_display():
    for number in range(90, 200):
        if not Path(f"/tmp/.X11-unix/X{number}").exists() and not Path(f"/tmp/.X{number}-lock").exists():
            return number
    raise RuntimeError("no free X display")


class WineSession:
    def __init__(self):
        self.root = Path(tempfile.mkdtemp(prefix="jlaunch-e2e-"))
        self.prefix = self.root / "prefix"
        self.display = _free_display()
        self._xvfb = None

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def env(self, locale="en", dll_overrides=""):
        env = dict(os.environ)
        env.update({
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": ";".join(filter(None, ["mscoree,mshtml=", dll_overrides])),
            "DISPLAY": f":{self.display}",
            "LC_ALL": "de_DE.UTF-8" if locale == "de" else "en_US.UTF-8",
        })
        return env

    def start(self):
        self._xvfb = subprocess.Popen(
            ["Xvfb", f":{self.display}", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            if Path(f"/tmp/.X11-unix/X{self.display}").exists():
                break
            time.sleep(0.05)
        subprocess.run(["wineboot", "-i"], env=self.env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        # A crash must end the program, not open winedbg's dialog and hang the run.
        self.reg_add(r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "0", "REG_DWORD")
        self.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")
        # Keep the wineserver alive between the many short runs.
        subprocess.Popen(["wineserver", "-p"], env=self.env()).wait()
        return self

    def reg_add(self, key, name, data, kind="REG_SZ", view=None):
        command = ["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"]
        if view:
            command.append(f"/reg:{view}")
        subprocess.run(command, env=self.env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def wine(self, *args, locale="en", timeout=120, cwd=None, dll_overrides=""):
        """Runs a Windows program and returns when it ends. Its output goes
        through files, not pipes: Wine's desktop process inherits the handles
        and outlives the program by seconds, which would hold a pipe open."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            process = subprocess.Popen(["wine", *args], env=self.env(locale, dll_overrides), stdout=out,
                                       stderr=err, cwd=cwd)
            try:
                process.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                process.kill()
                raise
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(process.args, process.returncode, out.read(), err.read())

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait(timeout=10)
        shutil.rmtree(self.root, ignore_errors=True)
