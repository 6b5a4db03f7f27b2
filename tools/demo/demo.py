#!/usr/bin/env python3
"""The demo: the simulated logger with a season of data, and paddytherm.exe under Wine attached
to it on COM1. On the user's display the user clicks; without one, the download runs under Xvfb
through the driver and leaves the report and screenshots behind."""
import argparse
import os
import shutil
import signal
import subprocess
import sys
import time
from pathlib import Path

# The Wine, driver and simulator harness is the end-to-end tests' own; the demo drives the program
# through it as those tests do.
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "tests" / "e2e"))
sys.path.insert(0, str(HERE))

from logger_sim import LoggerSim  # noqa: E402
from ui_driver import Driver  # noqa: E402
from wine_env import WineEnv  # noqa: E402

DOWNLOAD, COUNTER, POINTER_REPLY = 1182, 1169, 1200


def stop_on_signal(signum, frame):
    # ctest's timeout and Ctrl-C end the run through the finally blocks, so that Xvfb, the
    # wineserver and the simulator (each in a session of its own) are stopped too.
    raise SystemExit(f"stopped by signal {signum}")


def season_files(cli, tty, out, log, first_day="2008-05-10"):
    """The console reads the same logger once more: the raw archive, the daily figures and the
    season page, which the dialog does not make. The accumulated temperature counts from
    first_day, over 10 degrees."""
    folder = out / "season"
    shutil.rmtree(folder, ignore_errors=True)
    folder.mkdir()
    done = subprocess.run([str(cli), "download", "--port", str(tty), "--dir", str(folder), "--no-progress",
                           "--csv", str(folder / "samples.csv"), "--daily", str(folder / "daily.csv"),
                           "--season", str(folder / "season.html"), "--from", first_day, "--base", "10"],
                          capture_output=True, text=True, timeout=300)
    if done.returncode != 0:
        log(f"paddytherm-cli ended with {done.returncode}: {done.stderr.strip()}")
        return 1
    for line in done.stdout.splitlines():
        what, _, path = line.partition(": ")
        if what in ("archive", "csv", "daily", "season"):
            log(f"{what + ':':12} {path}")
    return 0


def main():
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--app", type=Path, required=True)
    ap.add_argument("--driver", type=Path, required=True)
    ap.add_argument("--sim", type=Path, required=True)
    ap.add_argument("--cli", type=Path, required=True, help="paddytherm-cli, for the season's other files")
    ap.add_argument("--out", type=Path, required=True, help="the demo's folder")
    ap.add_argument("--samples", type=int, default=2400, help="hourly samples of the season")
    ap.add_argument("--headless", action="store_true", help="ignore $DISPLAY")
    args = ap.parse_args()

    out = args.out.resolve()
    out.mkdir(parents=True, exist_ok=True)
    run = out / "run"  # the program's working folder: tavovalu.html and COM_STA.INI land here
    shutil.rmtree(run, ignore_errors=True)
    run.mkdir()

    def log(message):
        print(f"demo: {message}", flush=True)

    headless = args.headless or not os.environ.get("DISPLAY")
    env = WineEnv(out, lambda m: None)
    sim = LoggerSim(args.sim, out / "com1-link", out / "logger", log)
    app = driver = None
    try:
        log("preparing the Wine prefix (the first time takes a while)")
        env.prepare_prefix()
        if headless:
            env.start_display()
        env.map_port("COM1", out / "com1-link")
        env.start_server()
        sim.start("--samples", args.samples, "--start", "200805010600", "--memo", "DEMO PADDY")
        log(f"simulated logger with {args.samples} samples on {sim.tty} (COM1)")
        if not headless:
            log("starting paddytherm.exe on your display; press the report button, close the window to end")
            app = env.spawn(["wine", args.app.resolve()], run)
            app.wait()
            report = run / "tavovalu.html"
            log(f"report: {report}" if report.exists() else "no report was written")
            for kept in sorted((run / "seasons").glob("*")):
                log(f"kept season: {kept}")
            return season_files(args.cli.resolve(), out / "com1-link", out, log)

        app = env.spawn(["wine", args.app.resolve()], run, stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL, start_new_session=True)
        driver = Driver(env, args.driver.resolve(), run, log)
        driver.find(30000)
        shots = out / "screenshots"
        env.screenshot(shots / "1-start.png")
        driver.click(DOWNLOAD)
        driver.wait_enabled(DOWNLOAD, False, 5000)
        log("downloading; each sample takes at least 40 ms")
        deadline = time.monotonic() + 60 + args.samples * 0.2
        shot_taken = False
        while not driver.enabled(DOWNLOAD):
            if driver.box() is not None:
                caption, text = driver.box()
                log(f"the program reports: [{caption}] {text}")
                env.screenshot(shots / "error.png")
                return 1
            if time.monotonic() > deadline:
                log("the download did not end in time")
                return 1
            counter = driver.text(COUNTER).strip()
            if not shot_taken and counter and int(counter.split("/")[0]) > args.samples // 3:
                env.screenshot(shots / "2-downloading.png")
                shot_taken = True
            time.sleep(0.5)
        env.screenshot(shots / "3-done.png")
        report = run / "tavovalu.html"
        if not report.exists():
            log("no report was written")
            return 1
        shutil.copy(report, out / "tavovalu.html")
        log(f"pointer read from the logger: {driver.text(POINTER_REPLY)}")
        driver.close()
        driver.wait_gone(10000)
        log(f"report:      {out / 'tavovalu.html'}")
        for kept in sorted((run / "seasons").glob("*")):
            log(f"kept season: {kept}")
        log(f"screenshots: {shots}")
        return season_files(args.cli.resolve(), out / "com1-link", out, log)
    finally:
        if driver is not None:
            driver.quit()
        if app is not None and app.poll() is None:
            try:
                app.wait(timeout=10)
            except subprocess.TimeoutExpired:
                app.kill()
        sim.stop()
        env.shutdown()


if __name__ == "__main__":
    sys.exit(main())
