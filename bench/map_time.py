#!/usr/bin/env python3
"""Starts a program and prints the milliseconds until it maps its first top-level window,
then ends it with SIGTERM and prints its peak resident memory in KiB.

Usage: map_time.py DIRECTORY PROGRAM [ARGS...]   (DISPLAY must name an X server)
"""
import ctypes
import os
import signal
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

x11 = ctypes.cdll.LoadLibrary("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XFlush.argtypes = [ctypes.c_void_p]
x11.XConnectionNumber.argtypes = [ctypes.c_void_p]


def main():
    directory, program = sys.argv[1], sys.argv[2:]
    display = x11.XOpenDisplay(None)
    if not display:
        sys.exit("map_time: cannot open the X display")
    x11.XSelectInput(display, x11.XDefaultRootWindow(display), SUBSTRUCTURE_NOTIFY_MASK)
    x11.XFlush(display)
    event = ctypes.create_string_buffer(192)  # XEvent is a 24-long union

    start = time.monotonic()
    pid = os.fork()
    if pid == 0:
        os.chdir(directory)
        os.execv(program[0], program)
    mapped_ms = None
    deadline = start + 20
    import select
    fd = x11.XConnectionNumber(display)
    while mapped_ms is None and time.monotonic() < deadline:
        while x11.XPending(display):
            x11.XNextEvent(display, event)
            if ctypes.c_int.from_buffer(event).value == MAP_NOTIFY:
                mapped_ms = (time.monotonic() - start) * 1000
                break
        if mapped_ms is None:
            select.select([fd], [], [], 0.05)
    time.sleep(0.3)  # let the program settle before its memory is read
    os.kill(pid, signal.SIGTERM)
    _, status, usage = os.wait4(pid, 0)
    print(f"{mapped_ms if mapped_ms is not None else -1:.1f} {usage.ru_maxrss}")


if __name__ == "__main__":
    main()
