"""One Wine prefix and one Xvfb display for a whole end-to-end run.

Created at the start of the run and removed at its end, so runs never see
each other's registry, files or kernel objects.
"""
import os
import shutil
import subprocess
import tempfile
from pathlib import Path


class WineSession:
    def __init__(self):
        self.root = Path(tempfile.mkdtemp(prefix="jlaunch-e2e-"))
        self.prefix = self.root / "prefix"
        self.display = None
        self._xvfb = None

    @property
    def drive_c(self):
        return self.prefix / "drive_c"

    def env(self, locale="en", dll_overrides="", variables=None):
        """variables: more Unix environment variables, which Windows programs see as they are; Wine
        builds the Windows PATH itself and puts WINEPATH in front of it."""
        env = {name: value for name, value in os.environ.items() if name not in ("JAVA_HOME", "WINEPATH")}
        env.update(variables or {})
        env.update({
            "WINEPREFIX": str(self.prefix),
            # A test may ask for Wine's own trace of a program (see docs/wine-notes.md).
            "WINEDEBUG": (variables or {}).get("WINEDEBUG", "-all"),
            "WINEDLLOVERRIDES": ";".join(filter(None, ["mscoree,mshtml=", dll_overrides])),
            "DISPLAY": f":{self.display}",
            # "utf8": the one UTF-8 locale these machines have, under which Wine maps any file name.
            "LC_ALL": {"de": "de_DE.UTF-8", "utf8": "C.UTF-8"}.get(locale, "en_US.UTF-8"),
        })
        return env

    def start(self):
        # Xvfb picks a free display itself and names it on the pipe, so runs
        # started at the same moment never share a display.
        read_end, write_end = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            self.display = int(announced.readline())
        try:
            self._make_prefix()
        except Exception:
            self.stop()
            raise
        return self

    def _make_prefix(self):
        # wineboot has been seen to fail once in a while on a fresh prefix
        # (exit status 53); a second try on a clean prefix succeeds.
        for attempt in (1, 2):
            booted = subprocess.run(["wineboot", "-i"], env=self.env(), stdout=subprocess.DEVNULL,
                                    stderr=subprocess.PIPE, timeout=300)
            if booted.returncode == 0:
                break
            subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=60)
            shutil.rmtree(self.prefix, ignore_errors=True)
            if attempt == 2:
                raise RuntimeError(f"wineboot failed ({booted.returncode}): {booted.stderr.decode(errors='replace')}")
        # Keep the wineserver alive between the many short runs, the registry edits
        # below included: a program started while the server is shutting down can
        # end with status 1 before it runs.
        subprocess.Popen(["wineserver", "-p"], env=self.env()).wait()
        # A crash must end the program, not open winedbg's dialog and hang the run;
        # without a registered debugger it ends at once.
        self.reg_add(r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "0", "REG_DWORD")
        subprocess.run(["wine", "reg", "delete", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug",
                        "/v", "Debugger", "/f"], env=self.env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)
        self.reg_add(r"HKCU\Software\Wine\X11 Driver", "Decorated", "N")

    def restart(self, variables=None, stderr=subprocess.DEVNULL):
        """Ends every Windows process of the session and starts its server again. The first program
        after that starts the session's own processes, services.exe among them, which keep its
        environment (variables, as in env) and its standard error (a file) from then on."""
        for command in (["wineserver", "-k"], ["wineserver", "-w"]):
            subprocess.run(command, env=self.env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        subprocess.Popen(["wineserver", "-p"], env=self.env()).wait()
        subprocess.run(["wine", "cmd", "/c", "exit"], env=self.env(variables=variables), stdout=subprocess.DEVNULL,
                       stderr=stderr, timeout=120, check=True)

    def reg_add(self, key, name, data, kind="REG_SZ", view=None):
        command = ["wine", "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"]
        if view:
            command.append(f"/reg:{view}")
        # Now and then Wine ends a program with status 1 before it runs; the edit is tried once more.
        for attempt in (1, 2):
            done = subprocess.run(command, env=self.env(), stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, timeout=120)
            if done.returncode == 0 or attempt == 2:
                done.check_returncode()
                return

    def wine(self, *args, locale="en", timeout=120, cwd=None, dll_overrides="", variables=None):
        """Runs a Windows program and returns when it ends."""
        return self.spawn(*args, locale=locale, cwd=cwd, dll_overrides=dll_overrides, variables=variables).finish(timeout)

    def spawn(self, *args, locale="en", cwd=None, dll_overrides="", variables=None):
        """Starts a Windows program; finish() waits for it."""
        return WineProgram(["wine", *args], self.env(locale, dll_overrides, variables), cwd)

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env(), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60)
        if self._xvfb:
            self._xvfb.terminate()
            self._xvfb.wait(timeout=10)
        shutil.rmtree(self.root, ignore_errors=True)


class WineProgram:
    """A running Windows program. Its output goes through files, not pipes:
    Wine's desktop process inherits the handles and outlives the program by
    seconds, which would hold a pipe open."""

    def __init__(self, command, env, cwd):
        self._out = tempfile.TemporaryFile()
        self._err = tempfile.TemporaryFile()
        self.process = subprocess.Popen(command, env=env, stdout=self._out, stderr=self._err, cwd=cwd)

    def finish(self, timeout):
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise
        finally:
            self._out.seek(0)
            self._err.seek(0)
            out, err = self._out.read(), self._err.read()
            self._out.close()
            self._err.close()
        return subprocess.CompletedProcess(self.process.args, self.process.returncode, out, err)
