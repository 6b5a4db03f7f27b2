#!/usr/bin/env python3
"""paddytherm-cli.exe and the dialog of paddytherm.exe, both under Wine, downloading 2000
samples from the paced simulated logger on COM1 at 9600 and 19200 baud in one run. A sample's
time is read from the simulator's transcript (first to last "Rdt" command), so both programs are
timed by the same clock. Prints ms per sample, the reply's wire time and their ratio.

Usage (after both presets are built):
  bench/wine_cli_bench.py [--samples N]
"""
import argparse
import subprocess
import sys
import time
from pathlib import Path

SOURCE = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(SOURCE / "tests" / "e2e"))

from e2e_context import SPEED_19200, Context, Tools  # noqa: E402
from scenarios import run_download  # noqa: E402
from wine_env import WineEnv  # noqa: E402

REPLY_BYTES = 6  # LF, four hexadecimal digits, CR


def ms_per_sample(transcript: Path, samples):
    times = [int(line.split(" ", 1)[0]) for line in transcript.read_text(encoding="latin-1").splitlines()
             if " Rdt" in line]
    if len(times) != samples:
        return None
    return (times[-1] - times[0]) / (samples - 1)


def console_download(ctx, baud, samples):
    ctx.start_sim("--samples", samples, "--pace")
    folder = ctx.folder / "cli"
    folder.mkdir(parents=True, exist_ok=True)
    with open(folder / "output.txt", "wb") as out:
        proc = ctx.env.spawn(["wine", ctx.tools.cli, "download", "--port", "COM1", "--baud", baud,
                              "--dir", "Z:" + str(folder).replace("/", "\\"), "--no-archive", "--no-progress"],
                             folder, stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.STDOUT)
        code = proc.wait(timeout=900)
    ctx.sim.stop()
    return ms_per_sample(ctx.sim.transcript, samples) if code == 0 else None


def dialog_download(ctx, baud, samples):
    ctx.start_sim("--samples", samples, "--pace")
    ui = ctx.start_app()
    if baud == 19200:
        ui.check(SPEED_19200, True)
    run_download(ctx, timeout_s=900)
    ok = ui.box() is None and ui.enabled(1182)
    ctx.finish()
    return ms_per_sample(ctx.sim.transcript, samples) if ok else None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--samples", type=int, default=2000)
    ap.add_argument("--work", type=Path, default=SOURCE / "build" / "windows" / "bench-wine")
    args = ap.parse_args()
    win, native = SOURCE / "build" / "windows", SOURCE / "build" / "native"
    tools = Tools(win / "src/app/win32/paddytherm.exe", win / "tools/uidriver/uidriver.exe",
                  native / "tools/logger-sim/paddytherm-logger-sim", None, None,
                  win / "tools/cli/paddytherm-cli.exe")
    work = args.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    log_file = open(work / "bench.log", "w", encoding="utf-8")

    def log(message):
        log_file.write(f"[{time.strftime('%H:%M:%S')}] {message}\n")
        log_file.flush()

    env = WineEnv(work, log)
    link = work / "com1-link"
    rows = []
    try:
        env.prepare_prefix()
        env.start_display()
        env.map_port("COM1", link)
        env.start_server()
        for baud in (9600, 19200):
            cli = console_download(Context(f"cli-{baud}", env, tools, work, link, log), baud, args.samples)
            dialog = dialog_download(Context(f"dialog-{baud}", env, tools, work, link, log), baud, args.samples)
            rows.append((baud, cli, dialog))
    finally:
        env.shutdown()

    print(f"{args.samples} samples under Wine, simulated logger with --pace (log: {work / 'bench.log'})")
    print(f"{'baud':>6}  {'reply ms':>8}  {'console ms':>10}  {'ratio':>6}  {'dialog ms':>10}  {'ratio':>6}")
    failed = False
    for baud, cli, dialog in rows:
        reply = REPLY_BYTES * 11 * 1000 / baud

        def shown(v):
            return ("%10.2f  %6.2f" % (v, v / reply)) if v is not None else "%10s  %6s" % ("failed", "-")
        failed |= cli is None or dialog is None
        print(f"{baud:>6}  {reply:8.2f}  {shown(cli)}  {shown(dialog)}")
    print("target: the console within 1.30 of the reply's wire time")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
