#!/usr/bin/env python3
"""Writes the sample documents of the loader tests.

valid.lvrn: two draws and two projects with conditions of several kinds.
labelled.lvrn: the same with an extension: the draws' labels and dates and
a section of a kind no version knows yet.
corrupt/: the valid document truncated at every length, and hand-made
records with huge counts, bad kinds, bad lengths and undecodable text.
Run it from anywhere; it writes beside itself.
"""
import datetime
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def i32(value):
    return struct.pack("<i", value)


def options(target=3, miss_max=1):
    # 56 bytes: reserved, target, tolerance, the four groups with their
    # sizes, head limit, float flag, float count, lowest error level.
    return (i32(0) + i32(target) + i32(miss_max)
            + bytes([1, 0, 0, 0]) + i32(40) + bytes([1, 0, 0, 0]) + i32(30)
            + bytes([0, 0, 0, 0]) + i32(20) + bytes([0, 0, 0, 0]) + i32(10)
            + bytes([0, 1, 0, 0]) + i32(5) + i32(0))


def condition(kind, text, all_match=0, multi=0, assured=0, checked=1):
    param = text.encode("gbk")
    return (i32(kind) + i32(kind) + i32(len(param)) + param
            + bytes([all_match, multi, assured, checked]))


def draws(rows):
    block = i32(len(rows))
    for row in rows:
        block += b"".join(i32(int(d)) for d in row)
    return block


def project(conditions, **kw):
    return options(**kw) + i32(len(conditions)) + b"".join(conditions)


def document(rows, projects):
    return draws(rows) + i32(len(projects)) + b"".join(projects)


valid = document(
    ["0372915", "3127000"],
    [project([condition(1, "3,7", assured=1),
              condition(9, "12与34相配,5与67相配", multi=1),
              condition(7, "0,9,18", checked=0)]),
     project([condition(6, "5")], miss_max=2)])



def section(kind, data):
    return i32(kind) + i32(len(data)) + data


def extension(*sections):
    return b"TVRX" + i32(1) + b"".join(sections)


# Each draw: the label's width (0 for none), its value, the date's day
# number (0001-01-01 is day 1).
labels = section(1, i32(2) + bytes([7]) + i32(2026149) + i32(datetime.date(2026, 12, 4).toordinal())
                 + bytes([5]) + i32(26150) + i32(0))
labelled = valid + extension(labels, section(99, "未知".encode("utf-8")))

head = draws([]) + i32(1) + options()
corrupt = {
    "draws-negative-count": i32(-1) + i32(0),
    "draws-huge-count": i32(0x7FFFFFFF) + i32(0),
    "draws-digit-ten": draws(["0000000"])[:4] + i32(10) + b"\0" * 24 + i32(0),
    "draws-digit-negative": draws(["0000000"])[:4] + i32(-1) + b"\0" * 24 + i32(0),
    "projects-negative-count": draws([]) + i32(-5),
    "projects-huge-count": draws([]) + i32(0x10000000),
    "conditions-negative-count": head + i32(-1),
    "conditions-huge-count": head + i32(0x7FFFFFFF),
    "condition-kind-zero": head + i32(1) + condition(1, "1").replace(i32(1), i32(0), 1),
    "condition-kind-ten": head + i32(1) + i32(10) + condition(1, "1")[4:],
    "condition-record-kind-ten": head + i32(1) + i32(1) + i32(10) + condition(1, "1")[8:],
    "condition-length-negative": head + i32(1) + i32(1) + i32(1) + i32(-1) + bytes(4),
    "condition-length-beyond-end": head + i32(1) + i32(1) + i32(1) + i32(100) + b"1" + bytes(4),
    "condition-text-not-gbk": head + i32(1) + i32(1) + i32(1) + i32(2) + b"\xff\xff" + bytes(4),
    "extension-newer-version": valid + b"TVRX" + i32(2),
    "extension-section-beyond-end": valid + extension(i32(99) + i32(9) + b"12345678"),
    "extension-labels-for-other-draws": valid + extension(section(1, i32(1) + bytes(9))),
}

with open(os.path.join(here, "valid.lvrn"), "wb") as f:
    f.write(valid)
with open(os.path.join(here, "labelled.lvrn"), "wb") as f:
    f.write(labelled)
out = os.path.join(here, "corrupt")
os.makedirs(out, exist_ok=True)
for name, data in corrupt.items():
    with open(os.path.join(out, name + ".lvrn"), "wb") as f:
        f.write(data)
for length in range(1, len(valid)):
    with open(os.path.join(out, "truncated-%03d.lvrn" % length), "wb") as f:
        f.write(valid[:length])
