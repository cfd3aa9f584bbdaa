"""The X connection of the start-up benchmark: Xlib and XDamage through
ctypes (Python 3 standard library only). A Display reports every top-level
window created, moved and mapped on the screen, and every drawing request to
any window as the X server executes it, with the time each event arrived.
"""

import ctypes
import ctypes.util
import select
import sys
import time

CreateNotify, DestroyNotify, MapNotify, ConfigureNotify = 16, 17, 19, 22
SubstructureNotifyMask = 1 << 19
XDamageReportRawRectangles = 0
XDamageNotify = 0
ZPixmap = 2
AllPlanes = 0xFFFFFFFFFFFFFFFF


class XEvent(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("pad", ctypes.c_long * 24)]


class XCreateWindowEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("parent", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int),
                ("border_width", ctypes.c_int), ("override_redirect", ctypes.c_int)]


class XMapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int)]


class XConfigureEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int), ("height", ctypes.c_int)]


class XRectangle(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort)]


class XDamageNotifyEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong), ("damage", ctypes.c_ulong),
                ("level", ctypes.c_int), ("more", ctypes.c_int), ("timestamp", ctypes.c_ulong),
                ("area", XRectangle), ("geometry", XRectangle)]


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.POINTER(ctypes.c_ubyte)),
                ("byte_order", ctypes.c_int), ("bitmap_unit", ctypes.c_int),
                ("bitmap_bit_order", ctypes.c_int), ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


PACKAGES = "xvfb libx11-6 libxdamage1"


def load_library(name, soname):
    try:
        return ctypes.CDLL(ctypes.util.find_library(name) or soname)
    except OSError:
        sys.exit(f"cannot load {soname}: apt-get install {PACKAGES}")


xlib = load_library("X11", "libX11.so.6")
xdamage = load_library("Xdamage", "libXdamage.so.1")

xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
xlib.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(XEvent)]
xlib.XFlush.argtypes = [ctypes.c_void_p]
xlib.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
xlib.XGetImage.restype = ctypes.POINTER(XImage)
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                           ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XFree.argtypes = [ctypes.c_void_p]
xdamage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                          ctypes.POINTER(ctypes.c_int)]
xdamage.XDamageCreate.restype = ctypes.c_ulong
xdamage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]

# Windows come and go under our feet (a program ending while we still hold
# a Damage on its window); Xlib's default handler would end the script.
ERROR_HANDLER = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(lambda d, e: 0)
xlib.XSetErrorHandler(ERROR_HANDLER)


class Display:
    def __init__(self, name):
        self.dpy = xlib.XOpenDisplay(name.encode())
        if not self.dpy:
            raise RuntimeError("cannot open display " + name)
        self.root = xlib.XDefaultRootWindow(self.dpy)
        self.fd = xlib.XConnectionNumber(self.dpy)
        event_base, error_base = ctypes.c_int(), ctypes.c_int()
        if not xdamage.XDamageQueryExtension(self.dpy, ctypes.byref(event_base), ctypes.byref(error_base)):
            raise RuntimeError("the X server has no DAMAGE extension")
        self.damage_event = event_base.value + XDamageNotify
        xlib.XSelectInput(self.dpy, self.root, SubstructureNotifyMask)
        # One Damage on the root window reports drawing to every window on
        # the screen, so nothing a program draws can come before it exists.
        xdamage.XDamageCreate(self.dpy, self.root, XDamageReportRawRectangles)
        xlib.XSync(self.dpy, 0)
        self.event = XEvent()

    def events(self, timeout):
        """Yields (arrival time in ns, event) until `timeout` seconds pass
        without one; blocks in select() between them."""
        while True:
            if not xlib.XPending(self.dpy):
                ready, _, _ = select.select([self.fd], [], [], timeout)
                if not ready:
                    return
                if not xlib.XPending(self.dpy):
                    continue
            now = time.monotonic_ns()
            xlib.XNextEvent(self.dpy, ctypes.byref(self.event))
            yield now, self.event

    def close(self):
        xlib.XCloseDisplay(self.dpy)

    def drain(self):
        xlib.XSync(self.dpy, 0)
        for _ in self.events(0):
            pass

    def distinct_colours(self, window, width, height):
        image = xlib.XGetImage(self.dpy, window, 0, 0, width, height, AllPlanes, ZPixmap)
        if not image:
            return 0
        img = image.contents
        bpp = img.bits_per_pixel // 8
        raw = ctypes.string_at(img.data, img.bytes_per_line * img.height)
        colours = set()
        for y in range(0, img.height, 3):
            row = raw[y * img.bytes_per_line:y * img.bytes_per_line + img.width * bpp]
            colours.update(row[i:i + bpp] for i in range(0, len(row), bpp * 3))
        xlib.XFree(img.data)
        xlib.XFree(image)
        return len(colours)
