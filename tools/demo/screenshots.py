#!/usr/bin/env python3
"""The pictures of the Japanese user guide, made from the real paddytherm.exe under Wine against
the simulated logger, driven as in the end-to-end tests, and the two pages a download leaves
(tavovalu.html, and the season page the dialog keeps in seasons/) as a browser shows them. Each picture is written over its
old self in the guide's folder, so `git diff` tells whether anything a reader sees has changed."""
import argparse
import signal
import subprocess
import sys
import tempfile
import time
from pathlib import Path

# The Wine, driver and simulator harness is the end-to-end tests' own; the demo drives the program
# through it as those tests do.
HERE = Path(__file__).resolve().parent
sys.path.insert(0, str(HERE.parents[1] / "tests" / "e2e"))
sys.path.insert(0, str(HERE))

from e2e_context import (CHECK_MEMO, CHECK_POINTER, CHECK_START, COUNTER, DOWNLOAD,  # noqa: E402
                         MEMO_EDIT, PORT_COMBO, READ_CLOCK, READ_MEMO, SET_CLOCK, USE_PC_CLOCK,
                         WRITE_MEMO, Context, Tools, poll_until)
from demo import season_files, stop_on_signal  # noqa: E402
from scenarios import NO_REPLY  # noqa: E402
from wine_env import WineEnv  # noqa: E402

MEMO = "田んぼA-1"
MEMO_BYTES = MEMO.encode("cp932")  # what the logger holds: the memo as the dialog wrote it
# Twenty days from 1 June: with this seed the fourth day is a dry one that also reaches all five
# colour bands of the report, so the top of the table shows everything the guide explains.
SAMPLES = 480
SEASON = ["--memo", MEMO_BYTES, "--samples", SAMPLES, "--start", "200806010600", "--seed", 7]
FIRST_DAY = "2008-06-02"  # the first whole day: the accumulated temperature counts from here
PAINT_S = 0.4  # time for Wine to paint what the last command changed
CAPTION = "田んぼ温度計用(HTML 4.01)"


class Pictures:
    def __init__(self, env, out: Path, work: Path, log):
        self.env, self.out, self.work, self.log = env, out, work, log
        self.written = []

    def dialog(self, name):
        """The program's windows on the screen (the dialog, and the box over it when one is
        shown), cut out of the black screen around them."""
        time.sleep(PAINT_S)
        windows = self.env.shown_windows()
        if not windows:
            raise AssertionError(f"{name}: no window is shown")
        left, top = min(w[0] for w in windows), min(w[1] for w in windows)
        right = max(w[0] + w[2] for w in windows)
        bottom = max(w[1] + w[3] for w in windows)
        raw = self.work / "raw" / name
        self.env.screenshot(raw, (left, top, right - left, bottom - top))
        self.save(raw, name)

    def page(self, html: Path, name, width, height, background):
        """A page as chromium shows it in a window of width x height: the top height pixels of
        it, with the page's background around what it shows taken off but for a narrow margin."""
        raw = self.work / "raw" / name
        raw.parent.mkdir(parents=True, exist_ok=True)
        raw.unlink(missing_ok=True)
        with tempfile.TemporaryDirectory(dir=self.work) as profile:
            done = subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu",
                                   "--hide-scrollbars", f"--user-data-dir={profile}",
                                   f"--window-size={width},{height}", f"--screenshot={raw}",
                                   html.resolve().as_uri()],
                                  stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=120)
        if not raw.exists():
            raise AssertionError(f"chromium made no picture of {html}: {done.stderr.strip()[-500:]}")
        cut = raw.with_suffix(".cut.png")
        # The border first, so that -trim takes the page's background for what it is also where
        # the page is cut off at the bottom.
        subprocess.run(["convert", raw, "-bordercolor", background, "-border", "1", "-fuzz", "1%",
                        "-trim", "+repage", "-bordercolor", background, "-border", "8", cut], check=True)
        self.save(cut, name)

    def save(self, raw: Path, name):
        """Into the guide's folder without what makes a PNG differ from run to run (the time
        stamps). ImageMagick writes a palette by itself where the colours are few enough, as in
        the dialog's pictures; the pages keep every colour, so that the report's colour bands
        are exactly the report's."""
        target = self.out / name
        subprocess.run(["convert", raw, "-strip", "-define", "png:compression-level=9",
                        "-define", "png:exclude-chunks=date,time", target], check=True)
        size = subprocess.run(["identify", "-format", "%wx%h", target], capture_output=True, text=True,
                              check=True).stdout
        self.written.append((target, size, target.stat().st_size))


def start_app(ctx):
    """The program started, its dialog the active window as after a click on it."""
    ui = ctx.start_app()
    ctx.env.activate(CAPTION)
    return ui


def scene_dialog(ctx, pictures):
    ctx.start_sim("--memo", MEMO_BYTES)
    start_app(ctx)
    pictures.dialog("dialog.png")


def scene_spring(ctx, pictures):
    """The memo written and read back, the clock set from the PC and read back."""
    ctx.start_sim("--memo", "")
    ui = start_app(ctx)
    ctx.job(WRITE_MEMO, lambda: ui.type(MEMO_EDIT, MEMO))
    ctx.job(READ_MEMO)
    ui.check(USE_PC_CLOCK, True)
    ctx.job(SET_CLOCK)
    ctx.job(READ_CLOCK)
    pictures.dialog("spring.png")


def scene_check(ctx, pictures):
    ctx.start_sim(*SEASON)
    start_app(ctx)
    for button in (CHECK_MEMO, CHECK_START, CHECK_POINTER):
        ctx.job(button)
    pictures.dialog("check.png")


def scene_download(ctx, pictures):
    """The download part way, its report, and the season page of the same logger read once more
    by paddytherm-cli. The line is paced as a real one at 9600 baud; the program's own pace (a
    sample every few ticks) leaves seconds to take the picture in."""
    ctx.start_sim(*SEASON, "--pace")
    ui = start_app(ctx)
    ui.click(DOWNLOAD)
    ui.wait_enabled(DOWNLOAD, False, 5000)

    def counted():
        counter = ui.text(COUNTER).strip()
        return int(counter.split("/")[0]) if counter else 0
    ctx.require(poll_until(lambda: counted() >= SAMPLES * 2 // 5 or ui.box() is not None, 60, 0.1),
                "the download reached two fifths of the samples")
    ctx.require(ui.box() is None, f"no message box in the download, got {ui.box()}")
    pictures.dialog("download.png")
    ctx.wait_idle(120)
    ctx.require(ui.box() is None, f"no message box after the download, got {ui.box()}")
    report = ctx.app_dir / "tavovalu.html"
    ctx.require(report.exists(), "the download wrote tavovalu.html")
    kept = sorted((ctx.app_dir / "seasons").glob("*.html"))
    ctx.require(len(kept) == 1, f"the download kept one season page in seasons/, found {kept}")
    ctx.close_app()
    ctx.require(season_files(ctx.tools.native_cli, ctx.com1_link, ctx.folder, ctx.log, FIRST_DAY) == 0,
                "paddytherm-cli read the season")
    pictures.page(report, "report.png", 1400, 1000, "#C0C0C0")  # the whole table
    # The heading, the season's chart and the accumulated temperature; the daily table follows.
    pictures.page(ctx.folder / "season" / "season.html", "season.png", 1400, 850, "white")
    # The page the dialog itself kept beside the report, as the farmer opens it from seasons/.
    pictures.page(kept[0], "seasons.png", 1400, 850, "white")


def scene_box_no_reply(ctx, pictures):
    ctx.start_sim("--memo", MEMO_BYTES, "--silent-for", "Rmem")
    ui = start_app(ctx)
    ui.click(CHECK_MEMO)
    box = ui.wait_box(10000)
    ctx.require(box == ("", NO_REPLY), f"the box of a logger that does not answer, got {box}")
    pictures.dialog("box-no-reply.png")
    ui.press_ok()


def scene_box_port(ctx, pictures):
    ctx.start_sim("--memo", MEMO_BYTES)
    ui = start_app(ctx)
    ui.select(PORT_COMBO, 19)  # COM20, which is mapped to nothing
    ui.click(CHECK_MEMO)
    box = ui.wait_box(10000)
    ctx.require(box[0] == "Error" and box[1].startswith("COM20 "), f"the port's open failure, got {box}")
    pictures.dialog("box-port.png")
    ui.press_ok()


SCENES = [("dialog", scene_dialog), ("spring", scene_spring), ("check", scene_check),
          ("download", scene_download), ("box_no_reply", scene_box_no_reply),
          ("box_port", scene_box_port)]


def main():
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--app", type=Path, required=True)
    ap.add_argument("--driver", type=Path, required=True)
    ap.add_argument("--sim", type=Path, required=True)
    ap.add_argument("--cli", type=Path, required=True, help="the native paddytherm-cli")
    ap.add_argument("--work", type=Path, required=True, help="folder for the prefix, the runs and the log")
    ap.add_argument("--out", type=Path, required=True, help="where the pictures go")
    ap.add_argument("--only", nargs="*", help="make only these scenes' pictures")
    args = ap.parse_args()

    started = time.monotonic()
    work, out = args.work.resolve(), args.out.resolve()
    work.mkdir(parents=True, exist_ok=True)
    out.mkdir(parents=True, exist_ok=True)
    log_file = open(work / "screenshots.log", "w", encoding="utf-8")

    def log(message):
        log_file.write(f"[{time.strftime('%H:%M:%S')}] {message}\n")
        log_file.flush()

    def say(message):
        print(f"screenshots: {message}", flush=True)
        log(message)

    chosen = [s for s in SCENES if not args.only or s[0] in args.only]
    if args.only and len(chosen) != len(args.only):
        say(f"unknown scene in {args.only}; known: {[s[0] for s in SCENES]}")
        return 2
    tools = Tools(args.app.resolve(), args.driver.resolve(), args.sim.resolve(), None, None,
                  native_cli=args.cli.resolve())
    env = WineEnv(work, log)
    com1_link = work / "com1-link"
    pictures = Pictures(env, out, work, log)
    failed = []
    try:
        say(f"preparing the Wine prefix in {env.prefix} (the first time takes a while)")
        env.prepare_prefix()
        env.start_display()
        env.draw_window_frames()
        env.map_port("COM1", com1_link)
        env.start_server()
        for name, scene in chosen:
            say(f"scene {name}")
            ctx = Context(name, env, tools, work, com1_link, log)
            try:
                scene(ctx, pictures)
            except AssertionError as e:
                ctx.failures.append(str(e))
            finally:
                ctx.finish()
            if ctx.failures:
                failed.append(name)
                for failure in ctx.failures:
                    say(f"  FAILED: {failure}")
    finally:
        env.shutdown()

    for path, size, length in pictures.written:
        say(f"wrote {path} ({size}, {length // 1024} KB)")
    total = sum(length for _, _, length in pictures.written)
    say(f"{len(pictures.written)} pictures, {total // 1024} KB together, in {time.monotonic() - started:.0f} s;"
        f" log in {work / 'screenshots.log'}")
    if failed:
        say(f"scenes that failed: {', '.join(failed)}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
