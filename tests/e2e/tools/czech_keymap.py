#!/usr/bin/env python3
"""Gives the Czech letters keys of their own on the X server named by DISPLAY.

xdotool types a letter missing from the keyboard map by binding it to a spare key for the
moment of the press and unbinding it at once; a program that reads the key a little later
finds it unbound and gets nothing. With every letter bound for good, typing is a plain press.
"""
import ctypes
import sys

LETTERS = "áčďéěíňóřšťúůýž"

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDisplayKeycodes.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
x11.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
x11.XGetKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
x11.XChangeKeyboardMapping.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                                       ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
x11.XStringToKeysym.restype = ctypes.c_ulong
x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
x11.XFree.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCloseDisplay.argtypes = [ctypes.c_void_p]


def keysym(character):
    # Unicode keysyms name every letter, whatever its legacy name.
    return x11.XStringToKeysym(("U%04X" % ord(character)).encode())


def main():
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("czech_keymap: cannot open the X display")
    first, last = ctypes.c_int(), ctypes.c_int()
    x11.XDisplayKeycodes(display, ctypes.byref(first), ctypes.byref(last))
    count = last.value - first.value + 1
    per_keycode = ctypes.c_int()
    table = x11.XGetKeyboardMapping(display, first.value, count, ctypes.byref(per_keycode))
    free = [first.value + index for index in range(count)
            if all(table[index * per_keycode.value + level] == 0 for level in range(per_keycode.value))]
    x11.XFree(table)
    if len(free) < len(LETTERS):
        sys.exit("czech_keymap: only %d free keys for %d letters" % (len(free), len(LETTERS)))
    for keycode, letter in zip(free, LETTERS):
        pair = (ctypes.c_ulong * 2)(keysym(letter), keysym(letter.upper()))
        x11.XChangeKeyboardMapping(display, keycode, 2, pair, 1)
    x11.XSync(display, 0)
    x11.XCloseDisplay(display)


if __name__ == "__main__":
    main()
