#!/usr/bin/env python3
"""Writes src/core/base/Gb18030Table.inc: what GB18030 adds to GBK, taken
from the C library's converters (glibc 2.36, which follows GB18030-2022).

The codec converts GB18030 as GBK where both agree and looks up the rest
here, so that every system reads these files the same way whatever its own
converters know. Run it on the Linux build machine after a glibc update and
check the codec tests, which compare the whole code space with glibc.
"""
import ctypes
import ctypes.util
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4


class Converter:
    def __init__(self, source):
        self.cd = libc.iconv_open(b"UTF-32LE", source.encode())

    def code(self, data):
        """The one character these bytes make, or None."""
        libc.iconv(self.cd, None, None, None, None)
        inbuf = ctypes.create_string_buffer(data, len(data))
        outbuf = ctypes.create_string_buffer(16)
        inptr = ctypes.c_char_p(ctypes.addressof(inbuf))
        outptr = ctypes.c_char_p(ctypes.addressof(outbuf))
        inleft = ctypes.c_size_t(len(data))
        outleft = ctypes.c_size_t(16)
        done = libc.iconv(self.cd, ctypes.byref(inptr), ctypes.byref(inleft),
                          ctypes.byref(outptr), ctypes.byref(outleft))
        if done == ctypes.c_size_t(-1).value or inleft.value or 16 - outleft.value != 4:
            return None
        return int.from_bytes(outbuf.raw[:4], "little")


def runs(pairs):
    """(first index, first code, count) of the runs where both rise by one."""
    out = []
    for index, code in pairs:
        if out and out[-1][0] + out[-1][2] == index and out[-1][1] + out[-1][2] == code:
            out[-1][2] += 1
        else:
            out.append([index, code, 1])
    return out


def main():
    gbk = Converter("GBK")
    gb18030 = Converter("GB18030")
    extras = []
    for lead in range(0x81, 0xFF):
        for trail in range(0x40, 0xFF):
            pair = bytes([lead, trail])
            code = gb18030.code(pair)
            if code is not None and gbk.code(pair) is None:
                extras.append((lead << 8 | trail, code))
    # Four-byte codes of the Basic Multilingual Plane, by their place in
    # the sequence 81 30 81 30, 81 30 81 31, ...
    four = []
    for index in range(39420):
        b4, rest = 0x30 + index % 10, index // 10
        b3, rest = 0x81 + rest % 126, rest // 126
        b2, b1 = 0x30 + rest % 10, 0x81 + rest // 10
        code = gb18030.code(bytes([b1, b2, b3, b4]))
        if code is not None:
            four.append((index, code))
    lines = [
        "// Written by scripts/gen-gb18030-table.py from glibc's converters; do not edit.",
        "// Two-byte codes GB18030 has beyond GBK: {first code, first character, count}.",
        "inline constexpr Gb18030Run kGb18030TwoByteRuns[] = {",
    ]
    lines += ["    {0x%04X, 0x%04X, %d}," % tuple(run) for run in runs(extras)]
    lines += [
        "};",
        "// Four-byte codes below the supplementary planes, by their place in the",
        "// sequence from 81 30 81 30: {first place, first character, count}.",
        "inline constexpr Gb18030Run kGb18030FourByteRuns[] = {",
    ]
    lines += ["    {%d, 0x%04X, %d}," % tuple(run) for run in runs(four)]
    lines += ["};", ""]
    sys.stdout.write("\n".join(lines))


main()
