"""The bytes the program must leave behind: COM_STA.INI, and the reference report made by the
native writer from the logger's words."""
import subprocess
from pathlib import Path

_COMMENTS = [
    "; ********* 温度測定\u3000通信用 *********", ";", ";", ";[COM-PORT] COM1 ...... COM20",
]


def com_sta_ini(port, speed, parity="E", data_bits="8", stop_bits="1"):
    lines = _COMMENTS + [
        port, ";", ";[SPEED] 300,600,1200,2400,4800,9600,19200,38400", speed, ";",
        ";[PARITY] NON, ODD, EVEN", parity, ";", ";[DATA-BIT] 7, 8", data_bits, ";",
        ";[STOP-BIT] 1, 1.5, 2", stop_bits, ";",
    ]
    return "".join(line + "\r\n" for line in lines).encode("cp932")


def reference_report(writer: Path, start_stamp, pointer_text, words_file: Path, folder: Path, log):
    """Runs the native report writer on the same inputs and returns its report's bytes."""
    folder.mkdir(parents=True, exist_ok=True)
    out = folder / "tavovalu.html"
    if out.exists():
        out.unlink()
    r = subprocess.run([str(writer), start_stamp, pointer_text, str(words_file), str(folder)],
                       stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=60, text=True)
    if r.returncode != 0:
        log(f"reference writer failed ({r.returncode}): {r.stdout.strip()}")
        return None
    return out.read_bytes()
