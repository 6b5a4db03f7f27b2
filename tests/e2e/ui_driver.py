"""uidriver.exe under Wine, one process per scenario: a command line in, an answer line out."""
import json
import queue
import subprocess
import threading


class DriverError(AssertionError):
    pass


def parse_values(text):
    """The words and JSON strings of an answer, in order."""
    decoder = json.JSONDecoder()
    values, i = [], 0
    while i < len(text):
        if text[i] == " ":
            i += 1
        elif text[i] == '"':
            value, i = decoder.raw_decode(text, i)
            values.append(value)
        else:
            j = text.find(" ", i)
            j = len(text) if j < 0 else j
            word = text[i:j]
            values.append(int(word) if word.lstrip("-").isdigit() else word)
            i = j
    return values


class Driver:
    def __init__(self, env, exe, cwd, log):
        self.log = log
        self.proc = env.spawn(["wine", exe], cwd, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL)
        self._answers = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for raw in self.proc.stdout:
            self._answers.put(raw.decode("utf-8", errors="replace").rstrip("\r\n"))
        self._answers.put(None)

    def raw(self, line, timeout=30):
        self.proc.stdin.write((line + "\n").encode("utf-8"))
        self.proc.stdin.flush()
        try:
            answer = self._answers.get(timeout=timeout)
        except queue.Empty:
            raise DriverError(f"driver gave no answer to {line!r} within {timeout} s")
        if answer is None:
            raise DriverError(f"driver ended at {line!r}")
        return answer

    def do(self, line, timeout=30):
        """Sends a command and returns the values of its "ok" answer; "err" fails the scenario."""
        answer = self.raw(line, timeout)
        if not answer.startswith("ok"):
            raise DriverError(f"{line!r}: {answer}")
        return parse_values(answer[2:])

    # The commands, spelt as the scenarios use them.
    def find(self, timeout_ms=20000):
        self.do(f"find {timeout_ms}", timeout=timeout_ms / 1000 + 10)

    def text(self, id_):
        return self.do(f"text {id_}")[0]

    def enabled(self, id_):
        return self.do(f"enabled {id_}")[0] == 1

    def checked(self, id_):
        return self.do(f"checked {id_}")[0]

    def click(self, id_):
        self.do(f"click {id_}")

    def type(self, id_, text):
        self.do(f"type {id_} {json.dumps(text, ensure_ascii=False)}")

    def check(self, id_, on):
        self.do(f"check {id_} {1 if on else 0}")

    def select(self, id_, index):
        self.do(f"select {id_} {index}")

    def combo(self, id_):
        sel, count, text = self.do(f"combo {id_}")
        return sel, count, text

    def progress(self, id_):
        return tuple(self.do(f"progress {id_}"))

    def box(self):
        values = self.do("box")
        return None if values == ["none"] else (values[0], values[1])

    def wait_box(self, timeout_ms=10000):
        caption, text = self.do(f"wait-box {timeout_ms}", timeout=timeout_ms / 1000 + 10)
        return caption, text

    def press_ok(self):
        self.do("press-ok 5000", timeout=20)

    def wait_text(self, id_, text, timeout_ms=10000):
        self.do(f"wait-text {id_} {timeout_ms} {json.dumps(text, ensure_ascii=False)}",
                timeout=timeout_ms / 1000 + 10)

    def wait_enabled(self, id_, on, timeout_ms=10000):
        self.do(f"wait-enabled {id_} {1 if on else 0} {timeout_ms}", timeout=timeout_ms / 1000 + 10)

    def key(self, id_, name):
        self.do(f"key {id_} {name}")

    def alive(self):
        return self.do("alive")[0] == 1

    def close(self):
        self.do("close")

    def wait_gone(self, timeout_ms=10000):
        self.do(f"wait-gone {timeout_ms}", timeout=timeout_ms / 1000 + 10)

    def quit(self):
        if self.proc.poll() is None:
            try:
                self.raw("quit", timeout=5)
            except (DriverError, BrokenPipeError, OSError):
                pass
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait(timeout=5)
