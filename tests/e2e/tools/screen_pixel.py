#!/usr/bin/env python3
"""Reads pixels of the screen as the X server shows them (with a compositor: its output).

  screen_pixel.py X Y                  the colour at (X, Y) as R,G,B
  screen_pixel.py watch X Y SECONDS    every colour the point takes within SECONDS, one line
                                       each, when it changes ("R,G,B"), sampled every 5 ms
"""
import ctypes
import sys
import time

X11 = ctypes.CDLL("libX11.so.6")
X11.XOpenDisplay.restype = ctypes.c_void_p
X11.XOpenDisplay.argtypes = [ctypes.c_char_p]
X11.XDefaultRootWindow.restype = ctypes.c_ulong
X11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
X11.XGetImage.restype = ctypes.c_void_p
X11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                          ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
X11.XGetPixel.restype = ctypes.c_ulong
X11.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
X11.XDestroyImage.argtypes = [ctypes.c_void_p]
ALL_PLANES = 0xFFFFFFFF
Z_PIXMAP = 2


def colour(display, root, x, y):
    image = X11.XGetImage(display, root, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    if not image:
        sys.exit("screen_pixel: no image of the point %d,%d" % (x, y))
    pixel = X11.XGetPixel(image, 0, 0)
    X11.XDestroyImage(image)
    return "%d,%d,%d" % ((pixel >> 16) & 255, (pixel >> 8) & 255, pixel & 255)


def main(arguments):
    display = X11.XOpenDisplay(None)
    if not display:
        sys.exit("screen_pixel: cannot open the display")
    root = X11.XDefaultRootWindow(display)
    if arguments[0] == "watch":
        x, y, seconds = int(arguments[1]), int(arguments[2]), float(arguments[3])
        end = time.monotonic() + seconds
        last = None
        while time.monotonic() < end:
            value = colour(display, root, x, y)
            if value != last:
                print(value, flush=True)
                last = value
            time.sleep(0.005)
    else:
        print(colour(display, root, int(arguments[0]), int(arguments[1])))


if __name__ == "__main__":
    main(sys.argv[1:])
