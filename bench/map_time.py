#!/usr/bin/env python3
"""Starts a program and prints the milliseconds until it maps its first top-level window
and until it first draws on the screen after that, then ends it with SIGTERM and prints
its peak resident memory in KiB:  MAPPED_MS FIRST_FRAME_MS RSS_KIB

Usage: map_time.py DIRECTORY PROGRAM [ARGS...]   (DISPLAY must name an X server)
"""
import ctypes
import os
import select
import signal
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19
DAMAGE_REPORT_NON_EMPTY = 3

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
# Drawing into any window changes the root window's contents: its damage tells the first frame.
damage = ctypes.cdll.LoadLibrary("libXdamage.so.1")
damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageSubtract.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_ulong]


def main():
    directory, program = sys.argv[1], sys.argv[2:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("map_time: cannot open the X display")
    damage_event, damage_error = ctypes.c_int(), ctypes.c_int()
    if not damage.XDamageQueryExtension(display, ctypes.byref(damage_event), ctypes.byref(damage_error)):
        sys.exit("map_time: the X server has no DAMAGE extension")
    root = x11.XDefaultRootWindow(display)
    x11.XSelectInput(display, root, SUBSTRUCTURE_NOTIFY_MASK)
    root_damage = damage.XDamageCreate(display, root, DAMAGE_REPORT_NON_EMPTY)
    event = ctypes.create_string_buffer(192)  # XEvent is a 24-long union
    x11.XSync(display, 0)
    damage.XDamageSubtract(display, root_damage, 0, 0)
    x11.XSync(display, 0)
    while x11.XPending(display):
        x11.XNextEvent(display, event)

    start = time.monotonic()
    pid = os.fork()
    if pid == 0:
        os.chdir(directory)
        os.execv(program[0], program)
    mapped_ms = first_frame_ms = None
    deadline = start + 20
    fd = x11.XConnectionNumber(display)
    while first_frame_ms is None and time.monotonic() < deadline:
        while x11.XPending(display):
            x11.XNextEvent(display, event)
            kind = ctypes.c_int.from_buffer(event).value
            now_ms = (time.monotonic() - start) * 1000
            if kind == MAP_NOTIFY and mapped_ms is None:
                mapped_ms = now_ms
            elif kind == damage_event.value:
                if mapped_ms is not None and first_frame_ms is None:
                    first_frame_ms = now_ms
                damage.XDamageSubtract(display, root_damage, 0, 0)
                x11.XFlush(display)
        if first_frame_ms is None:
            select.select([fd], [], [], 0.05)
    time.sleep(0.3)  # let the program settle before its memory is read
    os.kill(pid, signal.SIGTERM)
    _, status, usage = os.wait4(pid, 0)
    print(f"{mapped_ms or -1:.1f} {first_frame_ms or -1:.1f} {usage.ru_maxrss}")


if __name__ == "__main__":
    main()
