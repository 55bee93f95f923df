#!/usr/bin/env python3
"""Writes the bundled working document data/工作文档.lvrn.

The draws are example data made by a seeded generator, not the record of
any real lottery; the two projects show the condition kinds at work.
Layout: the draw-table block (N, then seven signed 32-bit digits per draw)
and the project-list block (P, then per project 56 option bytes, the
condition count and the conditions), little-endian, texts in GBK.
"""
import pathlib
import random
import struct

DRAW_COUNT = 360
SEED = 20261207


def draws_block(draws):
    out = struct.pack('<i', len(draws))
    for draw in draws:
        out += struct.pack('<7i', *draw)
    return out


def options_record(target, miss_max, large=True, middle=True, small=False, tiny=False,
                   float_on=True, float_count=5, rc_miss_base=0):
    record = bytearray(56)
    struct.pack_into('<i', record, 4, target)
    struct.pack_into('<i', record, 8, miss_max)
    for offset, flag, size in ((12, large, 40), (20, middle, 30), (28, small, 20), (36, tiny, 10)):
        record[offset] = 1 if flag else 0
        struct.pack_into('<i', record, offset + 4, size)
    record[44] = 0  # HeadLimit
    record[45] = 1 if float_on else 0
    struct.pack_into('<i', record, 48, float_count)
    struct.pack_into('<i', record, 52, rc_miss_base)
    return bytes(record)


def condition(kind, param, assured=False, checked=True, all_match=False):
    text = param.encode('gbk')
    multi_clause = kind == 9
    return (struct.pack('<iii', kind, kind, len(text)) + text +
            bytes([all_match, multi_clause, assured, checked]))


def project(options, conditions):
    return options + struct.pack('<i', len(conditions)) + b''.join(conditions)


def main():
    rng = random.Random(SEED)
    draws = [[rng.randrange(10) for _ in range(7)] for _ in range(DRAW_COUNT)]
    projects = [
        # The next draw: a tolerance of one failed condition.
        project(options_record(DRAW_COUNT + 1, 1), [
            condition(2, '0,9', assured=True),
            condition(7, '5,6,7,8,9,10,11,12,13'),
            condition(6, '4'),
            condition(9, '123与568相配,0与79相配'),
            condition(1, '1,3,5,7', checked=False),
        ]),
        # The last draw, so that the verdict column shows a hit or a miss.
        project(options_record(DRAW_COUNT, 2, small=True), [
            condition(3, '1,2,3,4,5,6'),
            condition(5, '2,7'),
            condition(8, '0,1,18', assured=True),
            condition(4, '0'),
        ]),
    ]
    image = draws_block(draws) + struct.pack('<i', len(projects)) + b''.join(projects)
    target = pathlib.Path(__file__).resolve().parent.parent / 'data' / '工作文档.lvrn'
    target.write_bytes(image)
    print(f'{target}: {len(image)} bytes, {DRAW_COUNT} draws, {len(projects)} projects')


if __name__ == '__main__':
    main()
