"""What a scenario works with: its own folder, the simulated logger, the program under Wine with
a driver attached, checks that collect failures, and screenshots. Everything a scenario starts
is stopped by finish(), whatever happened."""
import subprocess
import time
from pathlib import Path

from logger_sim import LoggerSim
from ui_driver import Driver, DriverError

# Control ids of the dialog.
PORT_STATUS, VERSION, PROGRESS, DOWNLOAD, COUNTER = 1156, 1157, 1022, 1182, 1169
MEMO_CHECK_REPLY, START_CHECK_REPLY, POINTER_REPLY, SPINNER = 1197, 1198, 1200, 1201
SET_CLOCK, SET_PERIOD, DEBUG_PERIOD, USE_PC_CLOCK = 1212, 1213, 1214, 1196
CLOCK_EDIT, CLOCK_REPLY, READ_CLOCK, WRITE_MEMO, READ_MEMO = 1216, 1222, 1217, 1218, 1219
MEMO_EDIT, MEMO_REPLY, PORT_COMBO = 1220, 1221, 1223
SPECIAL_START, SPECIAL_START_EDIT = 1224, 1225
CHECK_MEMO, CHECK_START, CHECK_POINTER = 1230, 1231, 1232
SPEED_9600, SPEED_19200 = 1233, 1234

JOB_BUTTONS = [DOWNLOAD, READ_MEMO, WRITE_MEMO, READ_CLOCK, SET_CLOCK, SET_PERIOD, CHECK_MEMO,
               CHECK_POINTER]
SPECIAL_START_IDS = [1227, 1229, 1226, 1225]
START_READ_IDS = [START_CHECK_REPLY, CHECK_START]


class Tools:
    def __init__(self, app, driver, sim, report_writer, serial_test, cli=None, native_cli=None):
        self.app, self.driver, self.sim = app, driver, sim
        self.report_writer, self.serial_test = report_writer, serial_test
        self.cli, self.native_cli = cli, native_cli


class Context:
    def __init__(self, name, env, tools, work: Path, com1_link: Path, log):
        self.name = name
        self.env = env
        self.tools = tools
        self.folder = work / "scenarios" / name
        self.shots = work / "screenshots"
        self.com1_link = com1_link
        self.log = log
        self.failures = []
        self.sim = None
        self.app = None
        self.ui = None

    # Checks: a failed check is recorded and the scenario goes on, so one run shows every fault.
    def check(self, ok, what):
        if not ok:
            self.failures.append(what)
            self.log(f"  FAILED: {what}")
        return ok

    def eq(self, actual, expected, what):
        return self.check(actual == expected, f"{what}: got {actual!r}, expected {expected!r}")

    def require(self, ok, what):
        """A check the rest of the scenario cannot do without."""
        if not ok:
            raise AssertionError(what)

    def start_sim(self, *options):
        if self.sim is not None:
            self.sim.stop()
        self.sim = LoggerSim(self.tools.sim, self.com1_link, self.folder / "logger", self.log)
        return self.sim.start(*options)

    def start_app(self, cwd: Path = None):
        cwd = cwd or self.folder / "app"
        cwd.mkdir(parents=True, exist_ok=True)
        self.app_dir = cwd
        self.app = self.env.spawn(["wine", self.tools.app], cwd, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, start_new_session=True)
        self.ui = Driver(self.env, self.tools.driver, cwd, self.log)
        self.ui.find(30000)
        return self.ui

    def close_app(self):
        """Closes the dialog as a user would and returns the program's exit code."""
        self.ui.close()
        self.ui.wait_gone(10000)
        try:
            return self.app.wait(timeout=15)
        except subprocess.TimeoutExpired:
            return None

    def wait_idle(self, timeout_s=60, settle_s=0.15):
        """Waits until a job has ended: the download button is enabled again. Then waits as long
        as a person would before the next click; pressing at once is a scenario of its own."""
        self.ui.wait_enabled(DOWNLOAD, True, int(timeout_s * 1000))
        time.sleep(settle_s)

    def job(self, button, *prepare):
        """Runs one job as a person would: fills in what it needs, presses its button and waits
        for its end. A message box is a failure, and is closed. Returns the commands it sent."""
        ui = self.ui
        mark = len(self.sim.commands())
        for step in prepare:
            step()
        ui.click(button)
        # A short job may be over before a look at the button could see it disabled.
        self.require(poll_until(lambda: not ui.enabled(button) or len(self.sim.commands()) > mark
                                or ui.box() is not None, 5), f"job {button} started")
        self.wait_idle(15)
        box = ui.box()
        self.check(box is None, f"job {button} shows no message, got {box}")
        if box:
            ui.press_ok()
        return self.commands_after(mark)

    def commands_after(self, mark):
        return self.sim.commands()[mark:]

    def shot(self, label):
        self.env.screenshot(self.shots / f"{self.name}-{label}.png")

    def finish(self):
        try:
            if self.ui is not None and self.app is not None and self.app.poll() is None:
                self.shot("end")
                for _ in range(5):  # a box left open holds the program
                    if self.ui.box() is None:
                        break
                    self.ui.press_ok()
                if self.ui.alive():
                    self.ui.close()
                    self.ui.wait_gone(10000)
        except (DriverError, OSError) as e:
            self.log(f"  closing: {e}")
        if self.ui is not None:
            self.ui.quit()
        if self.app is not None and self.app.poll() is None:
            try:
                self.app.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.app.kill()
                self.app.wait(timeout=10)
        if self.sim is not None:
            self.sim.stop()


def poll_until(predicate, timeout_s, interval_s=0.05):
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        if predicate():
            return True
        time.sleep(interval_s)
    return predicate()
