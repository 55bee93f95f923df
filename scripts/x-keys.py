#!/usr/bin/env python3
"""Presses a key combination on the X display (XTest), as a user at the
keyboard would, for scripts that drive a program on a virtual display
without a window manager (scripts/windows-check.sh's pictures):

    python3 scripts/x-keys.py [--focus WINDOW_ID] ctrl+t

--focus gives that window (hexadecimal X id) the keyboard first."""
import ctypes
import ctypes.util
import sys

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
xtst = ctypes.cdll.LoadLibrary(ctypes.util.find_library("Xtst") or "libXtst.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XKeysymToKeycode.restype = ctypes.c_ubyte
x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                      ctypes.c_ulong]
NAMES = {"ctrl": "Control_L", "alt": "Alt_L", "shift": "Shift_L"}

def main(argv):
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("x-keys.py: no X display")
    args = argv[1:]
    if args and args[0] == "--focus":
        x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        x11.XSetInputFocus(display, int(args[1], 16), 2, 0)
        x11.XSync(display, 0)
        args = args[2:]
    codes = []
    for key in args[0].split("+"):
        keysym = x11.XStringToKeysym(NAMES.get(key, key).encode())
        code = x11.XKeysymToKeycode(display, keysym)
        if code == 0:
            sys.exit(f"x-keys.py: no key {key}")
        codes.append(code)
    for code in codes:
        xtst.XTestFakeKeyEvent(display, code, 1, 0)
    for code in reversed(codes):
        xtst.XTestFakeKeyEvent(display, code, 0, 0)
    x11.XSync(display, 0)

main(sys.argv)
