"""paddytherm-cli.exe under Wine against the simulated logger on COM1: what it sends, prints,
writes and exits with, byte for byte where a byte can be known."""
import shutil
import subprocess

from expected_files import reference_report

SAMPLES = 30
MEMO = "PADDY-E2E"
LOGGER_START = "200805010600"
NO_REPLY = "正常な応答がありません"


def run_cli(ctx, folder, *args, timeout_s=120):
    """Runs the program with stdout and stderr in files (Wine's helpers would hold a pipe)."""
    folder.mkdir(parents=True, exist_ok=True)
    out_path, err_path = folder / "stdout.bin", folder / "stderr.bin"
    with open(out_path, "wb") as out, open(err_path, "wb") as err:
        proc = ctx.env.spawn(["wine", ctx.tools.cli, *args], folder, stdin=subprocess.DEVNULL,
                             stdout=out, stderr=err)
        try:
            proc.wait(timeout=timeout_s)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=10)
    out, err = out_path.read_bytes(), err_path.read_bytes()
    ctx.log(f"  exit {proc.returncode}; stdout {out!r}; stderr {err.decode(errors='replace')!r}")
    return proc.returncode, out, err


def win(path):
    """A Linux path as Wine's drive Z: names it."""
    return "Z:" + str(path).replace("/", "\\")


def without_clock_line(out):
    return b"".join(line for line in out.splitlines(keepends=True) if not line.startswith(b"clock: "))


def scenario_cli_download(ctx):
    """A download: the wire, stdout, the report against the core's writer on the served words, and
    report FILE on its archive giving the same report and CSV again; the native program's reading
    of the same archive must give the same CSV."""
    ctx.start_sim("--samples", SAMPLES, "--memo", MEMO, "--start", LOGGER_START)
    dl = ctx.folder / "download"
    for left in (dl, ctx.folder / "再作成", ctx.folder / "native"):  # from an earlier run in this tree
        shutil.rmtree(left, ignore_errors=True)
    code, out, err = run_cli(ctx, dl, "download", "--port", "COM1", "--dir", win(dl), "--csv", win(dl / "s.csv"))
    ctx.require(code == 0, f"download exit status 0, got {code}: {err!r}")
    archives = sorted(dl.glob("paddytherm-*.ptlog"))
    ctx.require(len(archives) == 1, f"one archive written, got {archives}")
    ctx.eq(without_clock_line(out).decode(),
           f"memo: {MEMO.ljust(16)}\nstart: STR:{LOGGER_START}\npointer: {SAMPLES}\n"
           f"report: {win(dl)}\\tavovalu.html\ncsv: {win(dl / 's.csv')}\narchive: {win(archives[0])}\n",
           "download stdout (LF line ends, as on Linux)")
    ctx.check(b"\r" not in err, f"progress on a file is plain lines: {err!r}")
    wire = [b"Rmem\r", b"Rstr\r", b"Rpt\r"] + [b"Rdt%04d\r" % i for i in range(SAMPLES)] + [b"Cget\r"]
    ctx.eq(ctx.sim.commands(), wire, "download commands on the wire")
    expected = reference_report(ctx.tools.report_writer, "STR:" + LOGGER_START, str(SAMPLES),
                                ctx.sim.words, ctx.folder / "reference", ctx.log)
    ctx.require(expected is not None, "the reference writer made a report")
    ctx.check((dl / "tavovalu.html").read_bytes() == expected,
              "the download's tavovalu.html equals the core's writer on the served words")
    csv = (dl / "s.csv").read_bytes()
    # On Windows the CSV begins with the byte-order mark unless --no-csv-bom is given.
    ctx.check(csv.startswith(b"\xef\xbb\xbftime,temperature_c,no_water,offset_c\n2008-05-01 06:00,")
              and csv.count(b"\n") == SAMPLES + 1, f"CSV rows from the start hour: {csv[:120]!r}")

    # Into a folder and a file with Japanese names, which reach the program as UTF-16.
    again = ctx.folder / "再作成"
    code, out, _ = run_cli(ctx, again, "report", win(archives[0]), "--dir", win(again), "--csv", win(again / "水温.csv"))
    ctx.eq(code, 0, "report FILE exit status")
    ctx.check(f"csv: {win(again / '水温.csv')}".encode() in out, f"the CSV's name printed as UTF-8: {out!r}")
    ctx.check((again / "tavovalu.html").read_bytes() == expected, "report on the archive: the same tavovalu.html")
    ctx.check((again / "水温.csv").exists() and (again / "水温.csv").read_bytes() == csv,
              "report on the archive: the same CSV, under its Japanese name")

    native = ctx.folder / "native"
    native.mkdir(parents=True, exist_ok=True)
    r = subprocess.run([str(ctx.tools.native_cli), "report", str(archives[0]), "--dir", str(native),
                        "--csv", str(native / "s.csv"), "--csv-bom"], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                       timeout=60)
    ctx.eq(r.returncode, 0, f"the native program reads the archive: {r.stdout!r}")
    ctx.check((native / "s.csv").read_bytes() == csv, "the native program's CSV from the archive is the same")


def scenario_cli_jobs(ctx):
    """The other commands, and each failure's exit status with what reached the line."""
    memo = "田んぼA-2"
    cases = [
        # (name, simulator options, arguments, status, stdout, a piece of stderr, the wire)
        ("write-memo", (), ["write-memo", memo], 0, f'memo written: "{memo}       "\n', "",
         [b"Wmem" + memo.encode("cp932") + b" " * 7 + b"\r"]),
        ("read-memo", (), ["read-memo"], 0, f"{memo}       \n", "", [b"Rmem\r"]),
        ("check-memo", (), ["check-memo", "--baud", "19200"], 0, f"{memo}       \n", "", [b"Rmem\r"]),
        ("check-start", (), ["check-start"], 0, "STR:200804140600\n", "", [b"Rstr\r"]),
        ("check-pointer", (), ["check-pointer"], 0, "30\n", "", [b"Rpt\r"]),
        ("set-period", (), ["set-period", "--debug"], 0, "period set: debugging (Calm1)\n", "", [b"Calm1\r"]),
        ("set-clock", (), ["set-clock", "20080229235959"], 0, "clock set to 20080229235959\n", "",
         [b"Cset20080229235959\r"]),
        ("memo outside CP932", (), ["write-memo", "稲🌾"], 2, "", "Shift-JIS cannot write", []),
        ("missing port", (), ["read-memo", "--port", "COM20"], 3, "", "cannot open COM20", []),
        ("silent logger", ("--silent",), ["read-memo"], 4, "", NO_REPLY, [b"Rmem\r", b"Rmem\r"]),
        ("refused ack", ("--refuse-acks",), ["set-period"], 5, "", NO_REPLY, [b"Calm2\r", b"Calm2\r"]),
    ]
    running = None
    for name, sim_options, args, status, stdout, stderr_piece, wire in cases:
        ctx.log(f"- {name}")
        # One logger for the cases that need no fault, so a memo written is read back.
        if sim_options != running:
            ctx.start_sim("--samples", SAMPLES, *sim_options)
            running = sim_options
        mark = len(ctx.sim.commands())
        if "--port" not in args:
            args = args + ["--port", "COM1"]
        code, out, err = run_cli(ctx, ctx.folder / name.replace(" ", "-"), *args)
        ctx.eq(code, status, f"{name}: exit status")
        ctx.eq(out.decode(errors="replace"), stdout, f"{name}: stdout")
        ctx.check(stderr_piece in err.decode(errors="replace"), f"{name}: stderr holds {stderr_piece!r}: {err!r}")
        ctx.eq(ctx.commands_after(mark), wire, f"{name}: the wire")


CLI_SCENARIOS = [
    ("cli_download", scenario_cli_download),
    ("cli_jobs", scenario_cli_jobs),
]
