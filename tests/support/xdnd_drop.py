#!/usr/bin/env python3
"""Drops files on an X window the way a desktop file manager does (XDND).

usage: xdnd_drop.py <outcome file> <target window id> <root x> <root y> <file URI>...

Offers the files (file:// URIs, bytes escaped) as text/uri-list, moves over
the point, drops and waits for the target to say it has finished. Writes the
outcome into the outcome file once it is known: "dropped", "refused",
"files not taken" or "no answer" (a Windows program that starts this one
under Wine gets no process to wait on). The exit code is 0 when dropped.
"""
import ctypes
import ctypes.util
import os
import select
import sys
import time

CLIENT_MESSAGE, SELECTION_REQUEST, SELECTION_NOTIFY = 33, 30, 31
PROP_MODE_REPLACE, CURRENT_TIME, NONE = 0, 0, 0
PROTOCOL_VERSION = 5
TIME_LIMIT = 10.0


class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("l", ctypes.c_long * 5)]


class SelectionRequest(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("owner", ctypes.c_ulong),
                ("requestor", ctypes.c_ulong), ("selection", ctypes.c_ulong),
                ("target", ctypes.c_ulong), ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class SelectionNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("requestor", ctypes.c_ulong),
                ("selection", ctypes.c_ulong), ("target", ctypes.c_ulong),
                ("property", ctypes.c_ulong), ("time", ctypes.c_ulong)]


class Event(ctypes.Union):
    _fields_ = [("type", ctypes.c_int), ("client", ClientMessage),
                ("request", SelectionRequest), ("notify", SelectionNotify),
                ("pad", ctypes.c_long * 24)]


def load_xlib():
    xlib = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11") or "libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    xlib.XCreateSimpleWindow.restype = ctypes.c_ulong
    xlib.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [ctypes.c_int] * 2 + \
        [ctypes.c_uint] * 3 + [ctypes.c_ulong] * 2
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XSetSelectionOwner.argtypes = [ctypes.c_void_p] + [ctypes.c_ulong] * 3
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                                ctypes.POINTER(Event)]
    xlib.XChangeProperty.argtypes = [ctypes.c_void_p] + [ctypes.c_ulong] * 3 + \
        [ctypes.c_int] * 2 + [ctypes.c_char_p, ctypes.c_int]
    xlib.XPending.argtypes = [ctypes.c_void_p]
    xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
    xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return xlib


def uri_list(uris):
    return "".join(uri + "\r\n" for uri in uris).encode("ascii")


class Drag:
    def __init__(self, xlib, display, target):
        self.xlib, self.display, self.target = xlib, display, target
        root = xlib.XDefaultRootWindow(display)
        self.source = xlib.XCreateSimpleWindow(display, root, 0, 0, 1, 1, 0, 0, 0)
        self.atoms = {}
        self.connection = xlib.XConnectionNumber(display)
        self.served = 0

    def atom(self, name):
        if name not in self.atoms:
            self.atoms[name] = self.xlib.XInternAtom(self.display, name.encode(), 0)
        return self.atoms[name]

    def send(self, message, *values):
        event = Event()
        event.client.type = CLIENT_MESSAGE
        event.client.window = self.target
        event.client.message_type = self.atom(message)
        event.client.format = 32
        event.client.l[0] = self.source
        for i, value in enumerate(values, start=1):
            event.client.l[i] = value
        self.xlib.XSendEvent(self.display, self.target, 0, 0, ctypes.byref(event))
        self.xlib.XFlush(self.display)

    def answer(self, request, data):
        notify = Event()
        notify.notify.type = SELECTION_NOTIFY
        notify.notify.requestor = request.requestor
        notify.notify.selection = request.selection
        notify.notify.target = request.target
        notify.notify.time = request.time
        notify.notify.property = NONE
        if request.target == self.atom("text/uri-list"):
            self.xlib.XChangeProperty(self.display, request.requestor, request.property,
                                      request.target, 8, PROP_MODE_REPLACE, data, len(data))
            notify.notify.property = request.property
            self.served += 1
        self.xlib.XSendEvent(self.display, request.requestor, 0, 0, ctypes.byref(notify))
        self.xlib.XFlush(self.display)

    def wait_for(self, message, data):
        """Serves the selection until `message` arrives; returns its values."""
        deadline = time.monotonic() + TIME_LIMIT
        event = Event()
        while time.monotonic() < deadline:
            if not self.xlib.XPending(self.display):
                # The target waits only briefly for the files, so the source
                # wakes as soon as the display has something for it.
                select.select([self.connection], [], [], 0.05)
                continue
            self.xlib.XNextEvent(self.display, ctypes.byref(event))
            if event.type == SELECTION_REQUEST:
                self.answer(event.request, data)
            elif event.type == CLIENT_MESSAGE and event.client.message_type == self.atom(message):
                return list(event.client.l)
        return None


def drop(target, x, y, uris):
    """The outcome of one drag from the source's first move to the drop."""
    data = uri_list(uris)
    xlib = load_xlib()
    display = xlib.XOpenDisplay(None)
    if not display:
        return "no display"
    drag = Drag(xlib, display, target)
    xlib.XSetSelectionOwner(display, drag.atom("XdndSelection"), drag.source, CURRENT_TIME)
    drag.send("XdndEnter", PROTOCOL_VERSION << 24, drag.atom("text/uri-list"), 0, 0)
    drag.send("XdndPosition", 0, (x << 16) | (y & 0xFFFF), CURRENT_TIME,
              drag.atom("XdndActionCopy"))
    status = drag.wait_for("XdndStatus", data)
    if status is None:
        outcome = "no answer"
    elif not status[1] & 1:
        drag.send("XdndLeave", 0, 0, 0, 0)
        outcome = "refused"
    elif drag.served == 0:
        drag.send("XdndLeave", 0, 0, 0, 0)
        outcome = "files not taken"
    else:
        drag.send("XdndDrop", 0, CURRENT_TIME, 0, 0)
        outcome = "dropped" if drag.wait_for("XdndFinished", data) is not None else "no answer"
    xlib.XCloseDisplay(display)
    return outcome


def main(argv):
    if len(argv) < 6:
        print(__doc__, file=sys.stderr)
        return 2
    outcome = drop(int(argv[2], 0), int(argv[3]), int(argv[4]), argv[5:])
    partial = argv[1] + ".partial"
    with open(partial, "w", encoding="ascii") as file:
        file.write(outcome)
    os.replace(partial, argv[1])
    return 0 if outcome == "dropped" else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
