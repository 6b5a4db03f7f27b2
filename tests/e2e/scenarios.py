"""The scenarios: what a farmer does with the dialog, and what must come of it on the wire, on
the screen and on disk."""
import datetime
import re
import shutil
import subprocess
import time

from e2e_context import *  # noqa: F401,F403 (control ids)
from e2e_context import poll_until
from expected_files import com_sta_ini, reference_report

SAMPLES = 30
MEMO = "PADDY-E2E"
MEMO_SHOWN = MEMO.ljust(16)
LOGGER_START = "200805010600"
NO_REPLY = "正常な応答がありません"
OPEN_FAILURE = ("COM20 通信機能は使えません！\n   Error = 2\n他のアプリケーションが通信していませんか？\n"
                "通信ポート番号は正しいですか？\n通信ドライバーは正常ですか？\n")


def download_commands(count):
    return [b"Rmem\r", b"Rstr\r", b"Rpt\r"] + [b"Rdt%04d\r" % i for i in range(count)]


def expect_all_job_controls(ctx, enabled, when):
    for id_ in JOB_BUTTONS + START_READ_IDS:
        ctx.eq(ctx.ui.enabled(id_), enabled, f"{when}: control {id_} enabled")
    ctx.eq(ctx.ui.enabled(SPECIAL_START), True, f"{when}: check box 1224 is never disabled")


def run_download(ctx, timeout_s=60):
    """Presses the report button and watches the job until it ends; returns what was seen."""
    ui = ctx.ui
    ui.click(DOWNLOAD)
    ui.wait_enabled(DOWNLOAD, False, 5000)
    expect_all_job_controls(ctx, False, "during the download")
    counters, positions = [], []
    deadline = time.monotonic() + timeout_s
    while time.monotonic() < deadline:
        counters.append(ui.text(COUNTER))
        positions.append(ui.progress(PROGRESS))
        if ui.enabled(DOWNLOAD) or ui.box() is not None:
            break
        if len(counters) == 10:
            ctx.shot("downloading")
        time.sleep(0.03)
    return counters, positions


def scenario_download(ctx):
    """The full download: labels, counter and bar, the wire, the report byte for byte, and the
    settings written at close."""
    ctx.start_sim("--samples", SAMPLES, "--memo", MEMO, "--start", LOGGER_START)
    ui = ctx.start_app()
    counters, positions = run_download(ctx)
    ctx.require(ui.box() is None, f"no message box after the download, got {ui.box()}")
    ctx.require(ui.enabled(DOWNLOAD), "the download ended within a minute")
    ctx.shot("done")

    ctx.eq(ui.text(MEMO_CHECK_REPLY), MEMO_SHOWN, "memo label 1197")
    ctx.eq(ui.text(START_CHECK_REPLY), "STR:" + LOGGER_START, "start label 1198")
    ctx.eq(ui.text(POINTER_REPLY), str(SAMPLES), "pointer label 1200")
    ctx.eq(ui.text(PORT_STATUS), "[COM1,9600,8,E,1]", "status label 1156")
    ctx.eq(ctx.sim.commands(), download_commands(SAMPLES), "commands on the wire")

    shown = [c for c in counters if c.strip()]
    ctx.check(all(re.fullmatch(rf"\d+/{SAMPLES}  ", c) for c in shown),
              f"counter label reads n/{SAMPLES} padded to four: {sorted(set(shown))}")
    numbers = [int(c.split("/")[0]) for c in shown]
    ctx.check(len(set(numbers)) >= 3 and numbers == sorted(numbers),
              f"counter advances: {numbers}")
    pos = [p[0] for p in positions if p[2] == SAMPLES]
    while len(pos) > 1 and pos[-1] < pos[-2]:  # the empty bar after the end, seen by the last look
        pos.pop()
    ctx.check(len(set(pos)) >= 3 and pos == sorted(pos) and SAMPLES - 3 <= max(pos) <= SAMPLES,
              f"progress bar advances over 0..{SAMPLES}: {positions}")
    ctx.eq(ui.progress(PROGRESS), (0, 0, SAMPLES), "progress bar after the download")
    ctx.eq(ui.text(COUNTER).strip(), "", "counter label after the download")
    ctx.eq(ui.text(SPINNER), "", "spinner after the download")
    expect_all_job_controls(ctx, True, "after the download")

    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "tavovalu.html was written")
    expected = reference_report(ctx.tools.report_writer, ui.text(START_CHECK_REPLY),
                                ui.text(POINTER_REPLY), ctx.sim.words, ctx.folder / "reference", ctx.log)
    ctx.require(expected is not None, "the reference writer made a report")
    ctx.check(report.read_bytes() == expected,
              f"tavovalu.html equals the native writer's report ({ctx.folder / 'reference'})")

    ctx.eq(ctx.close_app(), 0, "exit code")
    ini = ctx.app_dir / "COM_STA.INI"
    ctx.eq(ini.read_bytes() if ini.exists() else None, com_sta_ini("COM1", "9600"),
           "COM_STA.INI after a job at 9600 baud")


def scenario_special_start(ctx):
    """The report dated from the typed start rather than from the logger's record."""
    ctx.start_sim("--samples", SAMPLES, "--start", LOGGER_START)
    ui = ctx.start_app()
    ui.check(SPECIAL_START, True)
    for id_ in SPECIAL_START_IDS:
        ctx.eq(ui.enabled(id_), True, f"special start on: {id_} enabled")
    for id_ in START_READ_IDS:
        ctx.eq(ui.enabled(id_), False, f"special start on: {id_} disabled")
    ui.type(SPECIAL_START_EDIT, "200804141500")
    run_download(ctx)
    ctx.require(ui.box() is None, f"no message box, got {ui.box()}")
    ctx.require(ui.enabled(DOWNLOAD), "the download ended")
    ctx.shot("done")
    for id_ in SPECIAL_START_IDS:
        ctx.eq(ui.enabled(id_), True, f"after the job, special start on: {id_} enabled")
    for id_ in START_READ_IDS:
        ctx.eq(ui.enabled(id_), False, f"after the job, special start on: {id_} disabled")
    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "tavovalu.html was written")
    data = report.read_bytes()
    ctx.check("開始時刻[2008-4-14 15:00]".encode("cp932") in data,
              "the report's caption reads 2008-4-14 15:00")
    expected = reference_report(ctx.tools.report_writer, "STR:200804141500", str(SAMPLES),
                                ctx.sim.words, ctx.folder / "reference", ctx.log)
    ctx.check(expected is not None and data == expected,
              "tavovalu.html equals the native writer's report for STR:200804141500")


def scenario_spring_jobs(ctx):
    """Clock, memo and period, each checked on the wire, then read back."""
    ctx.start_sim("--samples", SAMPLES)
    ui = ctx.start_app()
    job = ctx.job

    ctx.eq(job(SET_CLOCK, lambda: ui.type(CLOCK_EDIT, "20080410181256")),
           [b"Cset20080410181256\r"], "clock set from typed text")
    ctx.eq(job(READ_CLOCK), [b"Cget\r"], "clock read")
    clock = ui.text(CLOCK_REPLY)
    ctx.check(re.fullmatch(r"2008041018\d{4}", clock) is not None and int(clock[-4:]) - 1256 < 100,
              f"clock read back just after 2008-04-10 18:12:56: {clock!r}")

    ui.check(USE_PC_CLOCK, True)
    before = datetime.datetime.now()
    sent = job(SET_CLOCK, lambda: ui.type(CLOCK_EDIT, "x"))
    after = datetime.datetime.now()
    ui.check(USE_PC_CLOCK, False)
    typed = ui.text(CLOCK_EDIT)
    ctx.eq(sent, [b"Cset" + typed.encode() + b"\r"], "clock set from the PC clock")
    try:
        pc = datetime.datetime.strptime(typed, "%Y%m%d%H%M%S")
        ctx.check(before - datetime.timedelta(seconds=5) <= pc <= after + datetime.timedelta(seconds=5),
                  f"field 1216 holds the PC's time: {typed!r}, between {before} and {after}")
    except ValueError:
        ctx.check(False, f"field 1216 holds 14 digits of the PC's time: {typed!r}")

    memos = [
        ("ABC", "ABC" + " " * 13),
        ("田んぼ", "田んぼ" + " " * 10),           # six bytes in Shift-JIS
        ("0123456789ABCDEFGHIJ", "0123456789ABCDEF"),  # cut after 16 bytes
        ("", " " * 16),
    ]
    for typed_memo, padded in memos:
        sent = job(WRITE_MEMO, lambda: ui.type(MEMO_EDIT, typed_memo))
        ctx.eq(sent, [b"Wmem" + padded.encode("cp932") + b"\r"], f"memo {typed_memo!r} on the wire")
        ctx.eq(ui.text(MEMO_EDIT), padded, f"memo {typed_memo!r} written back into the field")
    job(WRITE_MEMO, lambda: ui.type(MEMO_EDIT, "田んぼ"))
    ctx.eq(job(READ_MEMO), [b"Rmem\r"], "memo read")
    ctx.eq(ui.text(MEMO_REPLY), "田んぼ" + " " * 10, "memo read back into label 1221")

    ctx.eq(job(SET_PERIOD, lambda: ui.check(DEBUG_PERIOD, False)), [b"Calm2\r"], "regular period")
    ctx.eq(job(SET_PERIOD, lambda: ui.check(DEBUG_PERIOD, True)), [b"Calm1\r"], "debugging period")
    ctx.eq(job(CHECK_POINTER), [b"Rpt\r"], "pointer check")
    ctx.eq(ui.text(POINTER_REPLY), str(SAMPLES), "pointer label 1200")
    ctx.eq(job(CHECK_START), [b"Rstr\r"], "start check")
    ctx.eq(ui.text(START_CHECK_REPLY), "STR:200804140600", "start label 1198 (the logger's default)")
    ctx.shot("done")


def expect_failure_box(ctx, button, text, caption="", prepare=()):
    """Presses a button, expects exactly this box, closes it, expects the buttons back."""
    ui = ctx.ui
    for step in prepare:
        step()
    mark = len(ctx.sim.commands()) if ctx.sim else 0
    started = time.monotonic()
    ui.click(button)
    box = ui.wait_box(10000)
    elapsed = time.monotonic() - started
    ctx.shot(f"box-{button}")
    ctx.eq(box, (caption, text), f"message box of button {button}")
    ui.press_ok()
    ctx.wait_idle(10)
    ctx.eq(ui.box(), None, f"no second box after button {button}")
    return ctx.commands_after(mark) if ctx.sim else [], elapsed


def scenario_failures(ctx):
    """Silence, refusals and a bad clock: the right box, the right traffic, and the buttons back."""
    ctx.start_sim("--silent")
    ui = ctx.start_app()
    sent, elapsed = expect_failure_box(ctx, CHECK_MEMO, NO_REPLY)
    ctx.eq(sent, [b"Rmem\r", b"Rmem\r"], "silent logger: the command and its one resend")
    ctx.check(elapsed >= 1.8, f"the box follows two one-second waits ({elapsed:.2f} s)")
    sent, _ = expect_failure_box(ctx, DOWNLOAD, "応答が有りません[MEM] ！！")
    ctx.eq(sent, [b"Rmem\r", b"Rmem\r"], "silent logger: the download stops at the memo")
    ctx.check(not (ctx.app_dir / "tavovalu.html").exists(), "a failed download writes no report")
    ctx.eq(ui.text(COUNTER).strip(), "", "counter label after the failed download")
    expect_all_job_controls(ctx, True, "after the failures")

    ctx.start_sim("--refuse-acks")
    for button, wire in [(SET_PERIOD, b"Calm2\r"), (SET_CLOCK, b"Cset20080410181256\r")]:
        sent, _ = expect_failure_box(ctx, button, NO_REPLY,
                                     prepare=[lambda: ui.type(CLOCK_EDIT, "20080410181256")])
        ctx.eq(sent, [wire, wire], f"refused acknowledgement of {wire!r}: sent twice")

    for bad in ["2008041018125", "200804101812567", "200804101812567890", "20081340256199", "2008041018125x"]:
        sent, _ = expect_failure_box(ctx, SET_CLOCK, "設定日時が異常です",
                                     prepare=[lambda: ui.type(CLOCK_EDIT, bad)])
        ctx.eq(sent, [], f"clock text {bad!r}: nothing sent")


def scenario_missing_port(ctx):
    """An unmapped port gives the open-failure box; COM1 afterwards works."""
    ctx.start_sim("--memo", MEMO)
    ui = ctx.start_app()
    ui.select(PORT_COMBO, 19)
    ctx.eq(ui.combo(PORT_COMBO), (19, 20, "COM20"), "port list entry 20")
    sent, _ = expect_failure_box(ctx, CHECK_MEMO, OPEN_FAILURE, caption="Error")
    ctx.eq(sent, [], "nothing sent to the logger")
    ctx.eq(ui.text(PORT_STATUS), "[Disable]", "status label after the failed open")
    expect_all_job_controls(ctx, True, "after the failed open")
    ui.select(PORT_COMBO, 0)
    ui.check(SPEED_19200, True)
    mark = len(ctx.sim.commands())
    ui.click(CHECK_MEMO)
    ctx.require(poll_until(lambda: ui.text(MEMO_CHECK_REPLY) == MEMO_SHOWN, 10),
                f"memo shown after choosing COM1, label reads {ui.text(MEMO_CHECK_REPLY)!r}")
    ctx.wait_idle(10)
    ctx.eq(ctx.commands_after(mark), [b"Rmem\r"], "one memo read on COM1")
    ctx.eq(ui.text(PORT_STATUS), "[COM1,19200,8,E,1]", "status label after choosing COM1")
    ctx.eq(ui.box(), None, "no box after the working open")


def scenario_quick_repress(ctx):
    """A job button pressed the moment the previous job has ended, before the tick that closes
    the port: the held port is closed and opened again, and the new job runs.

    On the simulator's pseudo-terminal an open in the very moment of the previous close can be
    refused by SetCommState (error 87: the pty rejects a parity request that changes nothing it
    can see, until the simulator has handed the line back fresh). A real port has no such window,
    so a few such boxes are tolerated, but each must leave the dialog usable: "[Disable]", the
    buttons enabled, and the next press working."""
    ctx.start_sim("--samples", SAMPLES)
    ui = ctx.start_app()
    rounds, boxes = 30, []
    for _ in range(rounds):
        ctx.wait_idle(10, settle_s=0)
        mark = len(ctx.sim.commands())
        ui.click(CHECK_POINTER)
        poll_until(lambda: len(ctx.sim.commands()) > mark or ui.box() is not None, 5, 0.01)
        box = ui.box()
        if box is not None:
            boxes.append(box)
            ctx.shot(f"box-{len(boxes)}")
            ui.press_ok()
            ctx.eq(ui.text(PORT_STATUS), "[Disable]", "status label after a refused line setting")
            expect_all_job_controls(ctx, True, "after a refused line setting")
    ctx.wait_idle(10)
    ctx.check(all(b == ("Error", "SetCommState") for b in boxes) and len(boxes) <= 3,
              f"at most a few pty races in {rounds} presses right after a job's end: {boxes}")
    ctx.eq(ctx.sim.commands(), [b"Rpt\r"] * (rounds - len(boxes)), "one pointer read per started job")
    ctx.eq(ui.text(POINTER_REPLY), str(SAMPLES), "pointer label")
    ctx.eq(ui.text(PORT_STATUS), "[COM1,9600,8,E,1]", "status label after the last job")


def scenario_resend_and_pieces(ctx):
    """A logger that misses a command gets it once more; replies that come in pieces 30 ms apart,
    or an answer that comes just after the resend, still make the same report."""
    ctx.start_sim("--drop-first", "--memo", MEMO)
    ui = ctx.start_app()
    started = time.monotonic()
    ui.click(CHECK_MEMO)
    ctx.require(poll_until(lambda: ui.text(MEMO_CHECK_REPLY) == MEMO_SHOWN or ui.box() is not None, 10),
                f"memo shown after the resend, label reads {ui.text(MEMO_CHECK_REPLY)!r}")
    elapsed = time.monotonic() - started
    ctx.wait_idle(10)
    ctx.eq(ui.box(), None, "no message when the resend is answered")
    ctx.eq(ctx.sim.commands(), [b"Rmem\r", b"Rmem\r"], "the command and its resend")
    ctx.check(elapsed >= 0.9, f"the resend follows a one-second wait ({elapsed:.2f} s)")

    ctx.start_sim("--split", "--samples", SAMPLES, "--start", LOGGER_START, "--memo", MEMO)
    run_download(ctx)
    ctx.require(ui.box() is None, f"no message box, got {ui.box()}")
    ctx.require(ui.enabled(DOWNLOAD), "the download ended")
    ctx.eq(ctx.sim.commands(), download_commands(SAMPLES), "commands on the wire")
    ctx.eq(ui.text(MEMO_CHECK_REPLY), MEMO_SHOWN, "memo gathered from pieces")
    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "tavovalu.html was written")
    expected = reference_report(ctx.tools.report_writer, "STR:" + LOGGER_START, str(SAMPLES),
                                ctx.sim.words, ctx.folder / "reference", ctx.log)
    ctx.check(expected is not None and report.read_bytes() == expected,
              "tavovalu.html from split replies equals the native writer's report")

    # A logger busy with its own reading answers sample 5 just after the resend went out, and
    # then the resend: the second answer must not become sample 6.
    late = 5
    ctx.start_sim("--late", f"Rdt{late:04d}:1050", "--samples", SAMPLES, "--start", LOGGER_START, "--memo", MEMO)
    run_download(ctx)
    ctx.require(ui.box() is None, f"no message box, got {ui.box()}")
    ctx.require(ui.enabled(DOWNLOAD), "the download ended")
    wire = download_commands(SAMPLES)
    wire.insert(3 + late, b"Rdt%04d\r" % late)
    ctx.eq(ctx.sim.commands(), wire, "the late sample asked twice, every other command once")
    ctx.check(expected is not None and report.read_bytes() == expected,
              "tavovalu.html after a late answer equals the native writer's report")


def scenario_noisy_line(ctx):
    """Sample replies spoilt on their first ask are asked again and the report is exact; a sample
    spoilt on every ask gives the box and leaves last season's report as it was."""
    ctx.start_sim("--samples", SAMPLES, "--start", LOGGER_START, "--memo", MEMO, "--seed", 3,
                  "--spoil", 20, "--spoil-kinds", "letters,stray-byte,stray-digit,high-byte")
    ui = ctx.start_app()
    run_download(ctx)
    ctx.require(ui.box() is None, f"no message box, got {ui.box()}")
    ctx.require(ui.enabled(DOWNLOAD), "the download ended")
    sent = ctx.sim.commands()
    once = [c for i, c in enumerate(sent) if i == 0 or c != sent[i - 1]]
    ctx.eq(once, download_commands(SAMPLES), "every command once, apart from asks again")
    ctx.check(len(sent) > len(once), f"spoilt replies were asked again ({len(sent) - len(once)} asks)")
    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "tavovalu.html was written")
    expected = reference_report(ctx.tools.report_writer, "STR:" + LOGGER_START, str(SAMPLES),
                                ctx.sim.words, ctx.folder / "reference", ctx.log)
    last_season = report.read_bytes()
    ctx.check(expected is not None and last_season == expected,
              "tavovalu.html from a noisy line equals the native writer's report")

    spoilt = 7
    ctx.start_sim("--samples", SAMPLES, "--start", "200905010600", "--spoil-always", spoilt)
    sent, _ = expect_failure_box(ctx, DOWNLOAD, NO_REPLY)
    ctx.eq(sent[-3:], [b"Rdt%04d\r" % spoilt] * 3, "the spoilt sample asked three times, then nothing")
    ctx.eq(report.read_bytes(), last_season, "last season's report is kept")
    ctx.eq(sorted(p.name for p in ctx.app_dir.iterdir() if p.name.startswith("tavovalu")),
           ["tavovalu.html"], "no temporary file is left beside the report")


def scenario_empty_logger(ctx):
    """A logger with no samples that says nothing to Rdt0000, even after the resend: no box, and
    a report with no rows."""
    ctx.start_sim("--samples", 0, "--start", LOGGER_START, "--memo", MEMO, "--silent-for", "Rdt0000")
    ui = ctx.start_app()
    run_download(ctx)
    ctx.require(ui.enabled(DOWNLOAD), "the download ended")
    ctx.eq(ui.box(), None, "no message box for an empty logger")
    ctx.eq(ctx.sim.commands(), download_commands(0) + [b"Rdt0000\r"] * 2, "sample 0 asked, and once more")
    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "tavovalu.html was written")
    expected = reference_report(ctx.tools.report_writer, "STR:" + LOGGER_START, "0",
                                ctx.sim.words, ctx.folder / "reference", ctx.log)
    ctx.check(expected is not None and report.read_bytes() == expected,
              "tavovalu.html of an empty logger equals the native writer's report with no rows")
    ctx.check(not (ctx.app_dir / "seasons").exists(), "an empty logger keeps no season")


def scenario_seasons(ctx):
    """Each download keeps its season in seasons/, named after the memo and the start: the same
    logger again replaces its files, another paddy (here dated from a typed start) adds its own,
    and the console rebuilds the dialog's report from either archive. A seasons/ that cannot be
    written changes nothing of the download."""
    report = None

    def download(memo, typed=None):
        nonlocal report
        ctx.start_sim("--samples", SAMPLES, "--start", LOGGER_START, "--memo", memo.encode("cp932"))
        if typed is not None:
            ctx.ui.check(SPECIAL_START, True)
            ctx.ui.type(SPECIAL_START_EDIT, typed)
        run_download(ctx)
        ctx.require(ctx.ui.enabled(DOWNLOAD), "the download ended")
        ctx.eq(ctx.ui.box(), None, f"no message box after the download of {memo}")
        ctx.eq(ctx.sim.commands(), download_commands(SAMPLES), f"the wire of the download of {memo}")
        report = ctx.app_dir / "tavovalu.html"
        stamp = "STR:" + (typed or LOGGER_START)
        expected = reference_report(ctx.tools.report_writer, stamp, str(SAMPLES), ctx.sim.words,
                                    ctx.folder / "reference", ctx.log)
        ctx.check(expected is not None and report.exists() and report.read_bytes() == expected,
                  f"tavovalu.html of {memo} equals the native writer's report for {stamp}")

    def rebuilt_by_console(archive):
        again = ctx.folder / "console" / archive.stem
        again.mkdir(parents=True, exist_ok=True)
        r = subprocess.run([str(ctx.tools.native_cli), "report", str(archive), "--dir", str(again)],
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60)
        ctx.eq(r.returncode, 0, f"paddytherm-cli report {archive.name}: {r.stdout!r}")
        ctx.check((again / "tavovalu.html").exists()
                  and (again / "tavovalu.html").read_bytes() == report.read_bytes(),
                  f"paddytherm-cli report {archive.name} gives the dialog's tavovalu.html")

    for left in ("app", "console"):  # by an earlier run
        shutil.rmtree(ctx.folder / left, ignore_errors=True)
    ctx.start_app()
    seasons = ctx.app_dir / "seasons"
    a2 = ["田んぼA-2_2008-05-01_06.html", "田んぼA-2_2008-05-01_06.ptlog"]
    download("田んぼA-2")
    ctx.eq(sorted(p.name for p in seasons.iterdir()), a2, "seasons/ after the first download")
    ctx.check((seasons / a2[1]).read_bytes().startswith(b"paddytherm-archive 1\n"),
              "an archive without the logger's clock, which the dialog never reads")
    rebuilt_by_console(seasons / a2[1])

    first = (seasons / a2[1]).stat().st_mtime_ns
    download("田んぼA-2")
    ctx.eq(sorted(p.name for p in seasons.iterdir()), a2, "the same logger again replaces its season")
    ctx.check((seasons / a2[1]).stat().st_mtime_ns > first, "the archive was written again")

    b1 = ["田んぼB-1_2008-04-14_15.html", "田んぼB-1_2008-04-14_15.ptlog"]
    download("田んぼB-1", typed="200804141500")
    ctx.eq(sorted(p.name for p in seasons.iterdir()), sorted(a2 + b1), "another paddy adds its own season")
    rebuilt_by_console(seasons / b1[1])
    ctx.shot("typed-start")
    ctx.ui.check(SPECIAL_START, False)

    shutil.rmtree(seasons)
    seasons.write_bytes(b"not a folder")
    report.unlink()
    download("田んぼA-2")
    ctx.eq(seasons.read_bytes(), b"not a folder", "the file in the folder's place is left alone")
    ctx.eq(sorted(p.name for p in ctx.app_dir.iterdir()), ["seasons", "tavovalu.html"],
           "nothing else is written beside the report")


def scenario_hangup(ctx):
    """The logger goes away in the middle of the samples: the [TAVO] message, no report."""
    answered = 10
    ctx.start_sim("--samples", SAMPLES, "--hangup-after", answered)
    ui = ctx.start_app()
    ui.click(DOWNLOAD)
    caption, text = ui.wait_box(15000)
    ctx.shot("box")
    ctx.eq(caption, "", "caption of the hang-up message")
    ctx.check(text in ("応答が有りません[TAVO] ！！", "送信出来ません[TAVO] ！！"),
              f"hang-up message names the samples: {text!r}")
    ui.press_ok()
    ctx.wait_idle(10)
    sent = ctx.sim.commands()
    ctx.eq(sent[:answered + 1], download_commands(SAMPLES)[:answered + 1],
           "commands up to the hang-up")
    ctx.check(b"hangup" in sent, "the logger hung up")
    ctx.check(not (ctx.app_dir / "tavovalu.html").exists(), "no report after the hang-up")
    expect_all_job_controls(ctx, True, "after the hang-up")


def scenario_idle_dialog(ctx):
    """The dialog at rest: initial states, the special-start switch, Enter and Escape."""
    ctx.start_sim()
    ui = ctx.start_app()
    ctx.shot("start")
    ctx.eq(ui.checked(SPEED_9600), 1, "9600 checked at start")
    ctx.eq(ui.checked(SPEED_19200), 0, "19200 unchecked at start")
    ctx.eq(ui.combo(PORT_COMBO), (0, 20, "COM1"), "port list")
    ctx.eq(ui.text(COUNTER), "  ", "counter label at start")
    ctx.eq(ui.text(PORT_STATUS), "", "status label at start")
    ctx.check(re.fullmatch(r"V-\d+\.\d+", ui.text(VERSION)) is not None,
              f"version label: {ui.text(VERSION)!r}")
    ctx.eq(ui.text(DOWNLOAD), "温度データ作成\r\n(TAVOVALU.HTML)", "report button caption")
    for id_ in JOB_BUTTONS + START_READ_IDS:
        ctx.eq(ui.enabled(id_), True, f"at start: {id_} enabled")
    for id_ in SPECIAL_START_IDS:
        ctx.eq(ui.enabled(id_), False, f"at start: {id_} disabled")
    for on in (True, False):
        ui.check(SPECIAL_START, on)
        for id_ in SPECIAL_START_IDS:
            ctx.eq(ui.enabled(id_), on, f"special start {on}: {id_}")
        for id_ in START_READ_IDS:
            ctx.eq(ui.enabled(id_), not on, f"special start {on}: {id_}")

    for target, key in [(CLOCK_EDIT, "enter"), (MEMO_EDIT, "escape"), (0, "escape"), (0, "enter")]:
        ui.key(target, key)
        time.sleep(0.5)
        ctx.check(ui.alive(), f"{key} on control {target} leaves the dialog open")
        ctx.eq(ui.box(), None, f"{key} on control {target} shows nothing")
    ctx.eq(ctx.sim.commands(), [], "keys start no job")

    ctx.eq(ctx.close_app(), 0, "exit code")
    ini = ctx.app_dir / "COM_STA.INI"
    ctx.eq(ini.read_bytes() if ini.exists() else None, com_sta_ini("COM1", "19200"),
           "COM_STA.INI after a run without a job")


def scenario_settings_file(ctx):
    """A COM_STA.INI naming COM2 selects COM2 at start, and is written back at close."""
    folder = ctx.folder / "app"
    folder.mkdir(parents=True, exist_ok=True)
    (folder / "COM_STA.INI").write_bytes(com_sta_ini("COM2", "9600"))
    ui = ctx.start_app(folder)
    ctx.eq(ui.combo(PORT_COMBO), (1, 20, "COM2"), "port list after reading COM_STA.INI")
    ctx.shot("port-from-file")
    ctx.eq(ctx.close_app(), 0, "exit code")
    ctx.eq((folder / "COM_STA.INI").read_bytes(), com_sta_ini("COM2", "19200"),
           "COM_STA.INI written back with the port read and the default speed")


def scenario_serial_backend(ctx):
    """The Win32 serial backend on COM1 mapped to the simulator."""
    if ctx.tools.serial_test is None:
        ctx.check(False, "the Win32 serial check was not built")
        return
    ctx.start_sim("--samples", SAMPLES)
    folder = ctx.folder / "run"
    folder.mkdir(parents=True, exist_ok=True)
    output = folder / "output.txt"
    with open(output, "wb") as out:
        proc = ctx.env.spawn(["wine", ctx.tools.serial_test], folder, stdout=out,
                             stderr=subprocess.STDOUT)
        try:
            proc.wait(timeout=120)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait(timeout=10)
    ctx.log(output.read_text(errors="replace").rstrip())
    ctx.eq(proc.returncode, 0, "Win32 serial check under Wine")


SCENARIOS = [
    ("serial_backend", scenario_serial_backend),
    ("idle_dialog", scenario_idle_dialog),
    ("download", scenario_download),
    ("special_start", scenario_special_start),
    ("spring_jobs", scenario_spring_jobs),
    ("failures", scenario_failures),
    ("missing_port", scenario_missing_port),
    ("quick_repress", scenario_quick_repress),
    ("resend_and_pieces", scenario_resend_and_pieces),
    ("noisy_line", scenario_noisy_line),
    ("empty_logger", scenario_empty_logger),
    ("seasons", scenario_seasons),
    ("hangup", scenario_hangup),
    ("settings_file", scenario_settings_file),
]
