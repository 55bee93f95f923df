#!/usr/bin/env python3
"""Writes the sample settings files beside this script.

The member name and password are scrambled here independently of the
program (start 107, step 37: the parameters made from the version text
"1.0.0"), so the samples also pin those parameters down.
Run: python3 make-samples.py
"""
import os

START, STEP = 107, 37
HERE = os.path.dirname(os.path.abspath(__file__))


def scramble(plain: bytes) -> bytes:
    return bytes((b + START + i * STEP) % 256 for i, b in enumerate(plain))


def escape(stored: bytes) -> bytes:
    out = bytearray()
    for i, b in enumerate(stored):
        edge = i == 0 or i == len(stored) - 1
        if b < 0x20 or b == 0x7F or b in b'%"\'' or (b == 0x20 and edge):
            out += b'%%%02X' % b
        else:
            out.append(b)
    return bytes(out)


def member(text: str) -> bytes:
    return escape(scramble(text.encode('gbk')))


def write(name: str, lines, end=b'\r\n'):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(end.join(lines) + end)


def g(text: str) -> bytes:
    return text.encode('gbk')


# The file as a user might have it after editing by hand: GBK, CR LF,
# comments, blanks, letter case, another section before and after.
write('gbk-crlf.ini', [
    b'; Tovarin settings',
    g('[其他设置]'),
    g('userName=不是这个'),
    b'Extra=keep me',
    b'',
    g('[基本设置]'),
    b'userName=' + member('张三'),
    b'userPW  =  ' + member('pw 1') + b'   ',
    g('LastDoc=D:\\其他\\别的.lvrn'),
    b'detaileverychk = 1',
    b'DetailLastChk=0x0',
    b'AutoCalcChk=7',
    b';AutoVerifyChk=0',
    b'ColsOfLineEd=50',
    b'UnknownKey=stays',
    b'',
    g('[最后]'),
    b'Tail=1',
])

# Values that are not numbers read as the key's default.
write('garbage.ini', [
    g('[基本设置]'),
    b'AutoCalcChk=abc',
    b'DetailLastChk=',
    b'AutoVerifyChk=yes',
    b'OutPutPrjOptChk=1.5',
    b'AutoSaveEd=0x',
    b'ViewStyle=9',
    b'ColsOfLineEd=2',
    b'SplitByLineChk=1 1',
])

# Hexadecimal values, taken as 32 bits.
write('hex.ini', [
    g('[基本设置]'),
    b'AutoSaveEd=0XFFFFFFFF',
    b'ColsOfLineEd=0x1A',
    b'DetailEveryChk=0x10',
    b'DetailLastChk=0x0',
    b'ViewStyle=0x2',
    b'OpenLastChk=0x100000000',
])

# LF line ends; the first of duplicate keys wins, and only the first
# section of a name counts; the section name has blanks and another case.
write('duplicates.ini', [
    g('[ 基本设置 ]'),
    b'ColsOfLineEd=12',
    b'COLSOFLINEED=13',
    b'AutoCalcChk="1"',
    g('[基本设置]'),
    b'ColsOfLineEd=14',
    b'OutPutAppOptChk=1',
], end=b'\n')

# A member name whose escape is broken and a password that unscrambles to
# bytes that are not GBK text: both read as empty, with a warning.
write('broken-member.ini', [
    g('[基本设置]'),
    b'userName=%G1abc',
    b'userPW=' + escape(scramble(b'\x81\x20')),
    b'AutoCalcChk=1',
])
