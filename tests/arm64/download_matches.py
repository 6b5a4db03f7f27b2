#!/usr/bin/env python3
"""One real download by the arm64 paddytherm-cli, run under qemu, from the native simulated
logger on a pseudo-terminal; then the same download by the native paddytherm-cli from a
simulator started the same way, on the same link. The two tavovalu.html and the two CSV files
must be the same bytes, and so must the two raw archives but for the moment of the readout: what a
Raspberry Pi writes is what a PC writes."""
import argparse
import shlex
import shutil
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from logger_sim import LoggerSim  # noqa: E402

# A fixed season and clock; the default 2400 samples, read as fast as the pty goes.
SIM_OPTIONS = ("--seed", "27", "--clock", "20081020120000")


def archive_without_moment(path):
    """The archive's lines but the readout's time, the clocks read then and the checksum over
    them at the end; the port, the replies and the sample count stay."""
    kept = []
    for line in path.read_bytes().split(b"\n"):
        if line.startswith((b"readout ", b"clock ")):
            continue
        kept.append(line.rsplit(b" ", 1)[0] if line.startswith(b"end ") else line)
    return b"\n".join(kept)


def download(name, command, sim_exe, work):
    folder = work / name
    shutil.rmtree(folder, ignore_errors=True)
    out = folder / "out"
    out.mkdir(parents=True)
    sim = LoggerSim(sim_exe, work / "tty", folder / "sim", lambda m: print(f"  [{name}] {m}", flush=True))
    sim.start(*SIM_OPTIONS)
    try:
        run = subprocess.run(command + ["download", "--port", str(sim.link), "--dir", str(out),
                                        "--csv", str(out / "samples.csv"), "--no-progress"],
                             capture_output=True, text=True, timeout=600)
    finally:
        sim.stop()
    print(f"  [{name}] exit {run.returncode}\n" + "".join(f"  [{name}] | {line}\n" for line in run.stdout.splitlines()),
          end="", flush=True)
    if run.returncode != 0:
        sys.exit(f"download_matches: FAILED: the {name} download ended with {run.returncode}: {run.stderr.strip()}")
    archives = sorted(p for p in out.iterdir() if p.name not in ("tavovalu.html", "samples.csv"))
    if len(archives) != 1:
        sys.exit(f"download_matches: FAILED: the {name} download left {[p.name for p in archives]} beside the report")
    return {"tavovalu.html": out / "tavovalu.html", "samples.csv": out / "samples.csv", "archive": archives[0]}


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--cli", type=Path, required=True, help="the arm64 paddytherm-cli")
    ap.add_argument("--emulator", required=True, help="the command line that runs an arm64 program here")
    ap.add_argument("--native-build", type=Path, required=True, help="the native tree: its simulator and console")
    ap.add_argument("--work", type=Path, required=True)
    args = ap.parse_args()
    sim_exe = args.native_build / "tools/logger-sim/paddytherm-logger-sim"
    native_cli = args.native_build / "tools/cli/paddytherm-cli"
    missing = [p for p in (args.cli, sim_exe, native_cli) if not p.is_file()]
    if missing:
        sys.exit(f"download_matches: FAILED: missing {', '.join(map(str, missing))}")
    work = args.work.resolve()
    work.mkdir(parents=True, exist_ok=True)
    arm64 = download("arm64", shlex.split(args.emulator) + [str(args.cli)], sim_exe, work)
    native = download("native", [str(native_cli)], sim_exe, work)
    read = {"tavovalu.html": Path.read_bytes, "samples.csv": Path.read_bytes, "archive": archive_without_moment}
    different = [what for what in arm64 if read[what](arm64[what]) != read[what](native[what])]
    for what in arm64:
        print(f"  {'FAILED' if what in different else 'ok'}: {what} {arm64[what]} == {native[what]}")
    if different:
        sys.exit(f"download_matches: FAILED: the arm64 download wrote other bytes: {', '.join(different)}")
    print(f"download_matches: the arm64 download wrote the native one's bytes "
          f"({native['tavovalu.html'].stat().st_size} bytes of report)")


if __name__ == "__main__":
    main()
