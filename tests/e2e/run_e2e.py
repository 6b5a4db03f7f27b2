#!/usr/bin/env python3
"""Runs the Windows program under Wine against the simulated logger, scenario by scenario.

Starts its own Xvfb, keeps a Wine prefix in the work folder, maps COM1 to the simulator's
pseudo-terminal link, and stops every process it started, whatever happens."""
import argparse
import os
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

from e2e_context import Context, Tools  # noqa: E402
from cli_scenarios import CLI_SCENARIOS  # noqa: E402
from scenarios import SCENARIOS as DIALOG_SCENARIOS  # noqa: E402

SCENARIOS = DIALOG_SCENARIOS + CLI_SCENARIOS
from wine_env import WineEnv  # noqa: E402

NATIVE_TARGETS = ["paddytherm-logger-sim", "pt-report-from-words", "paddytherm-cli"]


def native_tools(source: Path, native: Path, log):
    """Builds (or brings up to date) the native helpers in the native tree."""
    if not (native / "CMakeCache.txt").exists():
        if native != source / "build" / "native":
            raise RuntimeError(f"no native build tree at {native}")
        subprocess.run(["cmake", "--preset", "native"], cwd=source, check=True,
                       stdout=subprocess.DEVNULL)
    log(f"building {', '.join(NATIVE_TARGETS)} in {native}")
    subprocess.run(["cmake", "--build", str(native), "-j2", "--target", *NATIVE_TARGETS], check=True,
                   stdout=subprocess.DEVNULL)
    sim = native / "tools" / "logger-sim" / "paddytherm-logger-sim"
    writer = native / "tests" / "e2e" / "pt-report-from-words"
    cli = native / "tools" / "cli" / "paddytherm-cli"
    for tool in (sim, writer, cli):
        if not tool.exists():
            raise RuntimeError(f"missing {tool}")
    return sim, writer, cli


def stop_on_signal(signum, frame):
    # ctest's timeout and Ctrl-C end the run through the finally blocks, so that Xvfb, the
    # wineserver and the simulator (each in a session of its own) are stopped too.
    raise SystemExit(f"stopped by signal {signum}")


def main():
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--source", type=Path, required=True)
    ap.add_argument("--work", type=Path, required=True, help="folder for the prefix, logs and shots")
    ap.add_argument("--app", type=Path, required=True)
    ap.add_argument("--driver", type=Path, required=True)
    ap.add_argument("--serial-test", type=Path)
    ap.add_argument("--cli", type=Path, help="paddytherm-cli.exe")
    ap.add_argument("--native", type=Path,
                    default=os.environ.get("PT_NATIVE_BUILD") or os.environ.get("PT_NATIVE_BUILD_DEFAULT"))
    ap.add_argument("--only", nargs="*", help="run only these scenarios")
    ap.add_argument("--budget", type=float, default=780, help="seconds for the whole run")
    ap.add_argument("--list", action="store_true", help="print the scenario names and stop")
    if "--list" in sys.argv[1:]:
        print("\n".join(name for name, _ in SCENARIOS))
        return 0
    args = ap.parse_args()

    work = args.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    log_file = open(work / "e2e.log", "w", encoding="utf-8")

    def log(message):
        line = f"[{time.strftime('%H:%M:%S')}] {message}"
        print(line, flush=True)
        log_file.write(line + "\n")
        log_file.flush()

    native = (args.native or args.source / "build" / "native")
    sim, writer, native_cli = native_tools(args.source, Path(native), log)
    tools = Tools(args.app.resolve(), args.driver.resolve(), sim, writer,
                  args.serial_test.resolve() if args.serial_test else None,
                  args.cli.resolve() if args.cli else None, native_cli)
    chosen = [s for s in SCENARIOS if not args.only or s[0] in args.only]
    if args.only and len(chosen) != len(args.only):
        log(f"unknown scenario in {args.only}; known: {[s[0] for s in SCENARIOS]}")
        return 2

    env = WineEnv(work, log)
    com1_link = work / "com1-link"
    results = []
    started = time.monotonic()
    try:
        env.prepare_prefix()
        env.start_display()
        env.map_port("COM1", com1_link)
        env.start_server()
        for name, scenario in chosen:
            if time.monotonic() - started > args.budget:
                results.append((name, ["not run: the time budget was used up"]))
                continue
            log(f"=== {name}")
            ctx = Context(name, env, tools, work, com1_link, log)
            t0 = time.monotonic()
            try:
                scenario(ctx)
            except AssertionError as e:
                ctx.failures.append(f"stopped: {e}")
                log(f"  STOPPED: {e}")
            except Exception:
                ctx.failures.append("error: " + traceback.format_exc())
                log(traceback.format_exc())
            finally:
                ctx.finish()
            log(f"--- {name}: {'ok' if not ctx.failures else 'FAILED'} ({time.monotonic() - t0:.1f} s)")
            results.append((name, ctx.failures))
    finally:
        env.shutdown()

    log("summary:")
    for name, failures in results:
        log(f"  {'ok    ' if not failures else 'FAILED'} {name}")
        for f in failures:
            log(f"           {f}")
    log(f"screenshots in {work / 'screenshots'}, log in {work / 'e2e.log'}")
    return 0 if results and all(not f for _, f in results) else 1


if __name__ == "__main__":
    sys.exit(main())
