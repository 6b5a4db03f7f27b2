"""The world the Windows program runs in under test: an Xvfb display, a Wine prefix kept in the
build tree, COM ports mapped to pseudo-terminals, and screenshots."""
import glob
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path

import x11_focus

# The dialog's font, replaced by a Japanese face that is installed here.
DIALOG_FONT = "ＭＳ Ｐゴシック"
FONT_SUBSTITUTES = {DIALOG_FONT: "IPAPGothic", "ＭＳ ゴシック": "IPAGothic",
                    "MS UI Gothic": "IPAPGothic"}
PREFIX_MARK = ".paddytherm-ready"
# Where Wine keeps its own fonts; Marlett draws the buttons of a caption bar.
WINE_MARLETT = ["/usr/share/wine/fonts/marlett.ttf", "/usr/local/share/wine/fonts/marlett.ttf",
                "/opt/wine*/share/wine/fonts/marlett.ttf"]
_CHILD = re.compile(r"^\s+(0x[0-9a-f]+) .*?\s(\d+)x(\d+)\+(-?\d+)\+(-?\d+)\s")


class WineEnv:
    def __init__(self, work: Path, log):
        self.work = work
        self.prefix = work / "wineprefix"
        self.log = log
        self.display = None
        self._xvfb = None

    def env(self, **extra):
        env = dict(os.environ)
        env.update({
            "WINEPREFIX": str(self.prefix),
            "WINEDEBUG": "-all",
            "WINEDLLOVERRIDES": "mscoree,mshtml=",
            # Not a Japanese locale on purpose: the dialog must read right regardless, and under
            # a locale that is not installed `wine reg add` mangles Japanese value names.
            "LC_ALL": "C.UTF-8",
        })
        if self.display is not None:
            env["DISPLAY"] = f":{self.display}"
        env.update(extra)
        return env

    def _run(self, args, timeout, check=True):
        """Runs a command to its end. Its output goes through a file, not a pipe: Wine leaves
        helper processes behind that would hold a pipe open long after the command ended."""
        self.log(f"$ {' '.join(str(a) for a in args)}")
        with tempfile.TemporaryFile() as out:
            r = subprocess.run([str(a) for a in args], env=self.env(), stdin=subprocess.DEVNULL,
                               stdout=out, stderr=subprocess.STDOUT, timeout=timeout)
            out.seek(0)
            text = out.read().decode(errors="replace").strip()
        if text:
            self.log(text)
        if check and r.returncode != 0:
            raise RuntimeError(f"{args[0]} failed with {r.returncode}")
        return r

    def start_display(self):
        """Starts Xvfb on a display number it picks itself (-displayfd), so runs never collide."""
        read_fd, write_fd = os.pipe()
        self._xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_fd)
        deadline = time.monotonic() + 15
        data = b""
        with os.fdopen(read_fd, "rb", buffering=0) as f:
            while not data.endswith(b"\n") and time.monotonic() < deadline:
                chunk = f.read(16)
                if not chunk:
                    break
                data += chunk
        if not data.strip():
            raise RuntimeError("Xvfb did not report its display")
        self.display = int(data.strip())
        self.log(f"Xvfb on :{self.display} (pid {self._xvfb.pid})")

    def prepare_prefix(self):
        """Makes the Wine prefix once per build tree; wineboot alone takes about 13 s."""
        self.kill_server()
        if (self.prefix / PREFIX_MARK).exists():
            return
        shutil.rmtree(self.prefix, ignore_errors=True)
        self.prefix.mkdir(parents=True)
        self._run(["wineboot", "--init"], timeout=180)
        self._run(["wineserver", "-w"], timeout=180)
        for face, substitute in FONT_SUBSTITUTES.items():
            self._run(["wine", "reg", "add", r"HKCU\Software\Wine\Fonts\Replacements",
                       "/v", face, "/t", "REG_SZ", "/d", substitute, "/f"], timeout=60)
        self._run(["wineserver", "-w"], timeout=60)
        (self.prefix / PREFIX_MARK).write_text("ok\n")

    def draw_window_frames(self):
        """Has Wine draw the frames and caption bars itself, as Windows would: there is no window
        manager under Xvfb, and without one the windows are shown without them. For pictures of
        the program; the tests' prefix keeps Wine's default."""
        self._run(["wine", "reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Decorated",
                   "/t", "REG_SZ", "/d", "N", "/f"], timeout=60)
        # This Wine does not find the fonts of its own data folder; without Marlett the caption
        # buttons would show the letters that stand for their glyphs.
        fonts = self.prefix / "drive_c" / "windows" / "Fonts"
        found = [f for pattern in WINE_MARLETT for f in sorted(glob.glob(pattern))]
        if found:
            fonts.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(found[0], fonts / "marlett.ttf")
        else:
            self.log("Wine's marlett.ttf not found: the caption buttons will show letters")

    def _xwininfo(self, *args):
        return subprocess.run(["xwininfo", "-display", f":{self.display}", *args], capture_output=True,
                              text=True, errors="replace", timeout=30, check=True).stdout

    def shown_windows(self):
        """The rectangles (x, y, width, height) of the top-level windows shown on the display."""
        xwininfo = self._xwininfo
        shown = []
        for line in xwininfo("-root", "-children").splitlines():
            m = _CHILD.match(line)
            if m is None or int(m.group(2)) <= 1 or int(m.group(3)) <= 1:
                continue  # Wine keeps 1x1 windows of its own
            if "Map State: IsViewable" in xwininfo("-id", m.group(1)):
                shown.append(tuple(int(m.group(i)) for i in (4, 5, 2, 3)))
        return shown

    def activate(self, title):
        """Makes the window of this title the active one, as a click on it would with a window
        manager. Wine activates a window it shows before that window is the foreground one, and
        paints its caption as inactive until it is activated anew; under a window manager's own
        frame nobody sees that, under frames Wine draws itself everybody does. So the window is
        given the focus, loses it, and is given it again."""
        found = re.search(r"Window id: (0x[0-9a-f]+)", self._xwininfo("-name", title))
        if found is None:
            raise RuntimeError(f"no window {title!r} on the display")
        window = int(found.group(1), 16)
        with x11_focus.Display(f":{self.display}") as display:
            for step in (lambda: display.take_focus(window), display.drop_focus,
                         lambda: display.take_focus(window)):
                step()
                time.sleep(0.3)  # for Wine to take each step in before the next

    def map_port(self, name, target: Path):
        """Maps a COM port to a tty path; the link takes effect at the next wineserver start."""
        self._run(["wine", "reg", "add", r"HKEY_LOCAL_MACHINE\Software\Wine\Ports",
                   "/v", name, "/t", "REG_SZ", "/d", str(target), "/f"], timeout=60)
        self.kill_server()
        # Wine maps COM ports without an entry to /dev/ttyS*; COM20 must stay unmapped.
        stale = self.prefix / "dosdevices" / "com20"
        if stale.is_symlink():
            stale.unlink()

    def start_server(self):
        """A persistent wineserver, so each program start does not pay for a new one."""
        self.log("$ wineserver -p")
        # It forks into the background: nothing of it may hold our pipes.
        subprocess.run(["wineserver", "-p"], env=self.env(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30,
                       start_new_session=True)
        self._run(["wine", "cmd", "/c", "exit"], timeout=120)

    def kill_server(self):
        if self.prefix.exists():
            self._run(["wineserver", "-k"], timeout=30, check=False)

    def spawn(self, args, cwd, **popen_args):
        self.log(f"$ (in {cwd}) {' '.join(str(a) for a in args)}")
        return subprocess.Popen([str(a) for a in args], cwd=str(cwd), env=self.env(), **popen_args)

    def screenshot(self, path: Path, crop=None):
        """The whole screen, or the rectangle crop = (x, y, width, height) of it."""
        if self.display is None:
            return
        path.parent.mkdir(parents=True, exist_ok=True)
        region = [] if crop is None else ["-crop", "{2}x{3}+{0}+{1}".format(*crop), "+repage"]
        r = subprocess.run(["import", "-display", f":{self.display}", "-window", "root", *region, str(path)],
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30, text=True)
        self.log(f"screenshot {path}" if r.returncode == 0 else f"screenshot failed: {r.stderr}")

    def shutdown(self):
        try:
            self.kill_server()
        except Exception as e:  # keep going: Xvfb must still be stopped
            self.log(f"wineserver -k: {e}")
        if self._xvfb is not None and self._xvfb.poll() is None:
            os.killpg(self._xvfb.pid, signal.SIGTERM)
            try:
                self._xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                os.killpg(self._xvfb.pid, signal.SIGKILL)
                self._xvfb.wait(timeout=10)
        self._xvfb = None
