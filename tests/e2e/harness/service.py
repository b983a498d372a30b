"""Windows services in the test session's prefix, through Wine's own sc.exe
and service control manager: a launcher registered, started, queried, stopped
and removed as a packager's sc.exe line would do it."""
import re
import sys
import time

STATES = {1: "STOPPED", 2: "START_PENDING", 3: "STOP_PENDING", 4: "RUNNING"}


class Service:
    def __init__(self, session, name, exe_path):
        self.session = session
        self.name = name
        self.exe_path = exe_path

    def sc(self, *arguments):
        done = self.session.wine("sc", *arguments, timeout=60)
        return done.returncode, done.stdout.decode("utf-8", errors="replace")

    def __enter__(self):
        code, output = self.sc("create", self.name, "binPath=", self.exe_path)
        if code != 0:
            raise RuntimeError(f"sc create {self.name}: {code} {output}")
        return self

    def __exit__(self, *exc):
        # A service left running would keep its process in the shared prefix.
        if self.query()["state"] not in ("STOPPED", None):
            self.sc("stop", self.name)
            self.wait_for("STOPPED", timeout=60)
        self.sc("delete", self.name)

    def start(self):
        return self.sc("start", self.name)

    def stop(self):
        """sc stop; tried again (up to three times, a second apart) while sc reports a failure and
        the service still runs: one run saw a stop after "running" leave the service running with no
        "stop pending" at all, and what sc said then is printed to understand it."""
        code, output = self.sc("stop", self.name)
        for _ in range(3):
            if code == 0 or self.query()["state"] != "RUNNING":
                break
            print(f"sc stop {self.name} failed ({code}), trying again: {output}", file=sys.stderr)
            time.sleep(1)
            code, output = self.sc("stop", self.name)
        return code, output

    def query(self):
        """The state, the Win32 exit code and the service-specific exit code that sc query shows."""
        _, output = self.sc("query", self.name)

        def number(label):
            found = re.search(label + r"\s*:\s*(\d+)", output)
            return int(found.group(1)) if found else None

        state = number("STATE")
        return {"state": STATES.get(state), "win32": number("WIN32_EXIT_CODE"),
                "specific": number("SERVICE_EXIT_CODE"), "text": output}

    def wait_for(self, state, timeout=60):
        deadline = time.monotonic() + timeout
        while True:
            status = self.query()
            if status["state"] == state:
                return status
            if time.monotonic() > deadline:
                raise AssertionError(f"service {self.name} not {state} within {timeout} s: {status['text']}")
            time.sleep(0.2)
