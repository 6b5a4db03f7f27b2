#!/usr/bin/env python3
"""Checks the release packages that scripts/release left in build/release/ as their users meet
them: the Windows zip's files, README.txt and, under Wine, both programs straight from the
unpacked folder; each deb's (amd64, and arm64 with its programs under qemu) control fields,
files, programs and man pages. A missing package is a failure, never a skip."""
import argparse
import gzip
import html.parser
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))

from ui_driver import Driver  # noqa: E402
from wine_env import WineEnv  # noqa: E402

VERSION_LABEL = 1157
failures = []


def check(ok, what):
    print(f"  {'ok' if ok else 'FAILED'}: {what}", flush=True)
    if not ok:
        failures.append(what)
    return ok


def version_numbers(source):
    text = (source / "resources/version.h").read_text()
    return [int(re.search(rf"#define PT_VERSION_{p} +(\d+)", text).group(1))
            for p in ("MAJOR", "MINOR", "PATCH", "BUILD")]


class LocalReferences(html.parser.HTMLParser):
    """The files a page points at: src, href and srcset values that are neither absolute nor
    another site's."""

    def __init__(self):
        super().__init__()
        self.found = set()

    def handle_starttag(self, tag, attrs):
        for name, value in attrs:
            values = [v.strip().split()[0] for v in value.split(",") if v.strip()] if name == "srcset" and value \
                else [value] if name in ("src", "href") and value else []
            for v in values:
                path = v.split("#")[0].split("?")[0]
                if path and not re.match(r"^[a-zA-Z][a-zA-Z0-9+.-]*:|^/", path):
                    self.found.add(path)


def check_zip(path, version):
    top = f"paddytherm-{version}-win64/"
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        refs = LocalReferences()
        refs.feed(z.read(top + "guide/index.html").decode("utf-8"))
        readme = z.read(top + "README.txt")
        notice = z.read(top + "COPYRIGHT.txt")
        exes = [z.read(top + name)[:2] for name in ("paddytherm.exe", "paddytherm-cli.exe")]
    check(any(r.endswith(".png") for r in refs.found), f"the guide shows pictures: {sorted(refs.found)}")
    expected = {top + n for n in ("paddytherm.exe", "paddytherm-cli.exe", "README.txt", "COPYRIGHT.txt", "guide/index.html")}
    expected |= {top + "guide/" + r for r in refs.found}
    files = {n for n in names if not n.endswith("/")}
    check(files == expected, f"zip files: missing {sorted(expected - files)}, unexpected {sorted(files - expected)}")
    folders = {n for n in names if n.endswith("/")} - {top, top + "guide/"}
    check(not folders, f"no other folders in the zip: {sorted(folders)}")
    check(exes == [b"MZ", b"MZ"], "both programs are Windows executables")
    check(readme.startswith(b"\xef\xbb\xbf"), "README.txt begins with the UTF-8 byte-order mark")
    check(readme.count(b"\n") > 10 and readme.count(b"\n") == readme.count(b"\r\n") == readme.count(b"\r"),
          "README.txt has CR LF line ends only")
    check(version in readme.decode("utf-8-sig"), f"README.txt names version {version}")
    check(b"CLI11" in notice and b"\r\n" in notice, "COPYRIGHT.txt carries CLI11's notice, with CR LF")


# How each deb's programs are started here: the arm64 ones under user-mode emulation, with the
# cross toolchain's loader and libraries (what the package's Depends bring on a Raspberry Pi).
DEB_ARCHITECTURES = {"amd64": [], "arm64": ["qemu-aarch64-static", "-L", "/usr/aarch64-linux-gnu"]}
ELF_MACHINES = {"amd64": 0x3E, "arm64": 0xB7}


def deb_depends_names(depends):
    return {alternative.split("(")[0].strip() for entry in depends.split(",") for alternative in entry.split("|")}


def check_deb(path, version, arch, work):
    """Returns the package's files other than the programs, by name, for comparing the packages."""
    fields = {f: subprocess.run(["dpkg-deb", "-f", path, f], capture_output=True, text=True, check=True).stdout.strip()
              for f in ("Package", "Version", "Architecture", "Depends", "Maintainer", "Section")}
    check(fields["Package"] == "paddytherm-cli" and fields["Version"] == version and fields["Architecture"] == arch,
          f"deb control fields: {fields}")
    depends = deb_depends_names(fields["Depends"])
    check("libc6" in depends and fields["Maintainer"] and fields["Section"], "deb Depends, Maintainer, Section")
    check(all(re.fullmatch(r"[a-z0-9][a-z0-9+.-]+", d) and not d.endswith("-cross") for d in depends),
          f"Depends names the target's own packages: {sorted(depends)}")
    listing = subprocess.run(["dpkg-deb", "-c", path], capture_output=True, text=True, check=True).stdout
    files = {line.split()[-1] for line in listing.splitlines() if not line.startswith("d")}
    man, doc = "./usr/share/man/man1/", "./usr/share/doc/paddytherm-cli/"
    expected = {"./usr/bin/paddytherm-cli", "./usr/bin/paddytherm-logger-sim", man + "paddytherm-cli.1.gz",
                man + "paddytherm-logger-sim.1.gz", doc + "README.md", doc + "README.logger-sim.md", doc + "copyright"}
    check(files == expected, f"deb files: missing {sorted(expected - files)}, unexpected {sorted(files - expected)}")
    root = work / f"deb-{arch}"
    shutil.rmtree(root, ignore_errors=True)
    root.mkdir(parents=True)
    subprocess.run(["dpkg-deb", "-x", path, root], check=True)
    for program in ("paddytherm-cli", "paddytherm-logger-sim"):
        executable = root / "usr/bin" / program
        header = executable.read_bytes()[:20]
        check(header[:4] == b"\x7fELF" and int.from_bytes(header[18:20], "little") == ELF_MACHINES[arch],
              f"{program} is an {arch} program")
        run = subprocess.run(DEB_ARCHITECTURES[arch] + [executable, "--version"], capture_output=True, text=True,
                             timeout=30)
        check(run.returncode == 0 and run.stdout == f"{program} {version}\n", f"{program} --version: {run.stdout!r}")
        page = root / "usr/share/man/man1" / f"{program}.1.gz"
        check(page.read_bytes()[:2] == b"\x1f\x8b" and gzip.decompress(page.read_bytes()).startswith(b".TH "),
              f"{page.name} is a gzipped man page")
        shown = subprocess.run(["man", "--warnings", "-l", page], capture_output=True, text=True, timeout=60,
                               env={"PATH": "/usr/bin:/bin", "MANPAGER": "cat", "MANWIDTH": "80", "LANG": "C.UTF-8"})
        check(shown.returncode == 0 and not shown.stderr and "SYNOPSIS" in shown.stdout,
              f"man -l {page.name} renders without warnings: {shown.stderr.strip()!r}")
    return {name: (root / name).read_bytes() for name in files if "/usr/bin/" not in name}, depends


def check_under_wine(path, version, numbers, driver_exe, work):
    """Unpacks the zip into a folder of its own and starts the programs from there."""
    unpacked = work / "unzipped"
    shutil.rmtree(unpacked, ignore_errors=True)
    with zipfile.ZipFile(path) as z:
        z.extractall(unpacked)
    folder = unpacked / f"paddytherm-{version}-win64"
    log_file = (work / "wine.log").open("w")
    env = WineEnv(work, lambda m: print(m, file=log_file, flush=True))
    app = driver = None
    try:
        env.prepare_prefix()
        env.start_display()
        env.start_server()
        app = env.spawn(["wine", folder / "paddytherm.exe"], folder, stdout=subprocess.DEVNULL,
                        stderr=subprocess.DEVNULL, start_new_session=True)
        driver = Driver(env, driver_exe, folder, env.log)
        driver.find(30000)  # the dialog by its caption, 田んぼ温度計用(HTML 4.01)
        env.screenshot(work / "dialog-from-zip.png")
        label = "V-{}.{}{}{}".format(*numbers)
        check(driver.text(VERSION_LABEL) == label, f"the dialog shows {label} from the zip's paddytherm.exe")
        driver.close()
        driver.wait_gone(10000)
        check(app.wait(timeout=15) == 0, "paddytherm.exe ends when its dialog is closed")
        check((folder / "COM_STA.INI").exists(), "COM_STA.INI is written in the folder the program runs in")
        with tempfile.TemporaryFile() as out:  # a file, not a pipe: Wine's helpers would hold a pipe
            code = subprocess.run(["wine", folder / "paddytherm-cli.exe", "--version"], cwd=folder, env=env.env(),
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL, timeout=120).returncode
            out.seek(0)
            text = out.read().decode("utf-8", errors="replace")
        check(code == 0 and text.strip() == f"paddytherm-cli {version}", f"paddytherm-cli.exe --version: {text!r}")
    finally:
        if driver is not None:
            driver.quit()
        if app is not None and app.poll() is None:
            app.kill()
        env.shutdown()
        log_file.close()


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--source", type=Path, required=True)
    ap.add_argument("--packages", type=Path, required=True, help="the folder scripts/release fills")
    ap.add_argument("--driver", type=Path, required=True, help="uidriver.exe of the windows preset")
    ap.add_argument("--work", type=Path, required=True)
    args = ap.parse_args()
    numbers = version_numbers(args.source)
    version = "{}.{}.{}".format(*numbers[:3])
    zip_path = args.packages / f"paddytherm-{version}-win64.zip"
    deb_paths = {arch: args.packages / f"paddytherm-cli_{version}_{arch}.deb" for arch in DEB_ARCHITECTURES}
    missing = [p for p in (zip_path, *deb_paths.values(), args.driver) if not p.is_file()]
    if missing:
        sys.exit(f"check_release: FAILED: missing {', '.join(map(str, missing))}")
    work = args.work.resolve()  # Wine takes only an absolute prefix
    work.mkdir(parents=True, exist_ok=True)
    print(f"{zip_path.name}:")
    check_zip(zip_path, version)
    contents = {}
    for arch, deb_path in deb_paths.items():
        print(f"{deb_path.name}:")
        contents[arch] = check_deb(deb_path, version, arch, work)
    (amd64_files, amd64_depends), (arm64_files, arm64_depends) = contents["amd64"], contents["arm64"]
    check(arm64_files == amd64_files, "the arm64 deb's man pages and documents are the amd64 deb's, byte for byte")
    check(arm64_depends == amd64_depends, f"both debs depend on the same packages: {sorted(arm64_depends)}")
    print(f"{zip_path.name} under Wine:")
    check_under_wine(zip_path, version, numbers, args.driver.resolve(), work)
    if failures:
        sys.exit(f"check_release: {len(failures)} check(s) FAILED")
    print(f"check_release: all three packages are right (screenshot: {work / 'dialog-from-zip.png'})")


if __name__ == "__main__":
    main()
