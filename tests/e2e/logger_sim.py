"""The simulated logger as the tests use it: started on a pseudo-terminal behind a fixed link,
stopped at the end of each scenario, its transcript read back as the exact command lines."""
import re
import select
import signal
import subprocess
import time
from pathlib import Path

_LINE = re.compile(r"^(\d+) (.*)$")


def unescape(shown):
    """The transcript's form of a line back to its bytes: "\\r" is CR, "\\xNN" a byte."""
    out = bytearray()
    i = 0
    while i < len(shown):
        if shown.startswith("\\r", i):
            out.append(0x0D)
            i += 2
        elif shown.startswith("\\x", i):
            out.append(int(shown[i + 2:i + 4], 16))
            i += 4
        else:
            out.append(ord(shown[i]))
            i += 1
    return bytes(out)


class LoggerSim:
    def __init__(self, exe: Path, link: Path, folder: Path, log):
        self.exe = exe
        self.link = link
        self.folder = folder
        self.log = log
        self.transcript = folder / "transcript.txt"
        self.words = folder / "words.txt"
        self.proc = None
        self.tty = None

    def start(self, *options):
        self.folder.mkdir(parents=True, exist_ok=True)
        # Bytes go as they are: a memo is the Shift-JIS the logger holds.
        args = [str(self.exe), "--link", str(self.link), "--transcript", str(self.transcript),
                "--dump-words", str(self.words), *[o if isinstance(o, bytes) else str(o) for o in options]]
        self.log("$ " + " ".join(a.decode("cp932") if isinstance(a, bytes) else a for a in args))
        self.errors = self.folder / "stderr.txt"
        with open(self.errors, "wb") as err:
            self.proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=err,
                                         start_new_session=True)
        ready, _, _ = select.select([self.proc.stdout], [], [], 10)
        line = self.proc.stdout.readline().decode(errors="replace").strip() if ready else ""
        if not line:
            raise RuntimeError("logger simulator did not start: "
                               + self.errors.read_text(errors="replace").strip())
        self.tty = line
        deadline = time.monotonic() + 5
        while not self.link.is_symlink() and time.monotonic() < deadline:
            time.sleep(0.02)
        if not self.link.is_symlink():
            raise RuntimeError(f"logger simulator made no link at {self.link}")
        self.log(f"logger on {self.tty} behind {self.link}")
        return self

    def commands(self):
        """Every command line received so far, as bytes ending in CR; a hang-up as b"hangup".
        The simulator's notes of the replies it spoilt or answered late are left out."""
        if not self.transcript.exists():
            return []
        out = []
        for line in self.transcript.read_text(encoding="latin-1").splitlines():
            m = _LINE.match(line)
            if not m:
                continue
            shown = m.group(2)
            if shown.startswith(("spoilt ", "late ")):
                continue
            out.append(b"hangup" if shown == "hangup" else unescape(shown.split(" [over-long")[0]))
        return out

    def served_words(self):
        return self.words.read_text().split() if self.words.exists() else []

    def stop(self):
        if self.proc is None:
            return
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=5)
        self.proc = None
