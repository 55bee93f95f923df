#!/usr/bin/env python3
"""tovarin-cli.exe under Wine gives the Linux build's output byte for byte.

Runs each command with both programs from the same folder, with the same
arguments and input, and compares the exit status, standard output,
standard error and any file the command writes. The one allowed difference
is the clock in a run's first line ("时间:" and the moment), which moves
between the two runs.

Usage: same-output-as-linux.py LINUX-CLI WINDOWS-CLI WINE-RUNNER
"""
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile

ROOT = pathlib.Path(__file__).resolve().parent.parent.parent
# What may differ: the clock of a run's first line.
CLOCK = re.compile("时间:[^\r\n]*".encode("utf-8"))


def comparable(part):
    return CLOCK.sub(b"", part) if isinstance(part, bytes) else part

# (name, arguments, file the command writes or None); the documents are
# copied into the run's folder first, so that paths are the same words.
CASES = [
    ("eval kind 1", ["eval", "1", "3,7"], None),
    ("eval pairs, assured", ["eval", "9", "12与34相配,5与67相配", "--assured"], None),
    ("eval sums", ["eval", "8", "18"], None),
    ("eval bad argument", ["eval", "7", "1,x"], None),
    ("info", ["info", "valid.lvrn"], None),
    ("info, Chinese name", ["info", "工作文档.lvrn"], None),
    ("info --json", ["info", "--json", "工作文档.lvrn"], None),
    ("info of a missing file", ["info", "没有.lvrn"], None),
    ("filter --seed", ["filter", "工作文档.lvrn", "--seed", "9"], None),
    ("filter --seed, status", ["filter", "valid.lvrn", "--seed", "9", "--status"], None),
    ("filter one period", ["filter", "工作文档.lvrn", "--one", "2", "--seed", "5"], None),
    ("analyse verify", ["analyse", "工作文档.lvrn", "--kind", "verify", "--project", "2",
                        "--seed", "7"], None),
    ("analyse double", ["analyse", "工作文档.lvrn", "--kind", "double", "--seed", "3"], None),
    ("analyse contrast", ["analyse", "工作文档.lvrn", "--kind", "contrast", "--project", "1",
                          "--project", "2", "--seed", "4"], None),
    ("settings", ["settings", "gbk-crlf.ini"], None),
    ("draws export", ["draws", "export", "工作文档.lvrn", "开奖.txt"], "开奖.txt"),
    ("stats --json", ["stats", "工作文档.lvrn", "--json"], None),
    ("backtest --json", ["backtest", "工作文档.lvrn", "--project", "2", "--details", "--json"],
     None),
    ("backtest, a range", ["backtest", "工作文档.lvrn", "--project", "1", "--from", "3",
                           "--to", "40"], None),
    ("draws import", ["draws", "import", "导入.lvrn", "号码.txt"], "导入.lvrn"),
    ("draws import-table, GB18030", ["draws", "import-table", "表.lvrn", "gb18030.csv", "--json"],
     "表.lvrn"),
    ("draws import-table, UTF-16", ["draws", "import-table", "表.lvrn", "utf16.csv"], "表.lvrn"),
    ("draws import-table, broken GB18030", ["draws", "import-table", "表.lvrn", "broken.csv"],
     "表.lvrn"),
    ("draws import-table, gaps refused", ["draws", "import-table", "表.lvrn", "gaps.csv"],
     "表.lvrn"),
    ("draws import-table, gaps allowed", ["draws", "import-table", "表.lvrn", "gaps.csv",
                                          "--allow-gaps", "--json"], "表.lvrn"),
    ("draws list", ["draws", "list", "labelled.lvrn"], None),
    ("draws list --json", ["draws", "list", "labelled.lvrn", "--from", "2", "--json"], None),
    ("draws export-table", ["draws", "export-table", "labelled.lvrn", "导出.csv"], "导出.csv"),
    ("filter --record of a drawn target",
     ["filter", "labelled.lvrn", "--target", "2", "--record", "--seed", "3"], None),
    ("ledger, empty", ["ledger", "labelled.lvrn", "--json"], None),
]
# Draw-history files as players get them, in the encodings the reader knows.
TABLE = "期号,日期,开奖号码,备注\r\n" + "".join(
    f"2026{n:03},2026-01-{n % 28 + 1:02},{n * 7919 % 10000000:07},{'À€𠀀期'[n % 4]}\r\n"
    for n in range(1, 60))
INPUTS = {
    "gb18030.csv": TABLE.encode("gb18030"),
    "utf16.csv": b"\xff\xfe" + TABLE.encode("utf-16-le"),
    # A lone lead byte after a four-byte character.
    "broken.csv": TABLE.encode("gb18030") + b"2026099,2026-02-01,1234567,\x81\x30\x81\x30\xC6\r\n",
    "号码.txt": "".join(f"{n * 104729 % 10000000:07}\r\n" for n in range(200)).encode(),
    "gaps.csv": "期号,开奖日期,开奖号码\n26001,2026-01-02,1234567\n26004,,7654321\n".encode(),
}
DOCUMENTS = [
    ROOT / "tests" / "data" / "documents" / "valid.lvrn",
    ROOT / "tests" / "data" / "documents" / "labelled.lvrn",
    ROOT / "data" / "工作文档.lvrn",
    ROOT / "tests" / "data" / "settings" / "gbk-crlf.ini",
]


def run(command, folder, written):
    result = subprocess.run(command, cwd=folder, capture_output=True, timeout=120)
    output = b""
    if written and (folder / written).exists():
        output = (folder / written).read_bytes()
        (folder / written).unlink()
    return result.returncode, result.stdout, result.stderr, output


def main():
    linux, windows, wine = (os.path.abspath(path) for path in sys.argv[1:4])
    failures = 0
    with tempfile.TemporaryDirectory() as name:
        folder = pathlib.Path(name)
        for document in DOCUMENTS:
            shutil.copy(document, folder)
        for name, content in INPUTS.items():
            (folder / name).write_bytes(content)
        for title, words, written in CASES:
            on_linux = run([linux, *words], folder, written)
            on_windows = run([wine, windows, *words], folder, written)
            parts = ("exit status", "standard output", "standard error", "written file")
            differ = [part for part, a, b in zip(parts, on_linux, on_windows)
                      if comparable(a) != comparable(b)]
            if differ:
                failures += 1
                print(f"FAIL {title}: {', '.join(differ)} differ")
                for part, a, b in zip(parts, on_linux, on_windows):
                    if part in differ:
                        print(f"  Linux:   {a!r:.400}\n  Windows: {b!r:.400}")
            else:
                size = len(on_linux[1]) + len(on_linux[2]) + len(on_linux[3])
                print(f"ok   {title} ({size} bytes, status {on_linux[0]})")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
