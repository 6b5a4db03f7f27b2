"""The two things a window manager does to give a window the focus, done through libX11 for a
display that has no window manager: ICCCM's WM_TAKE_FOCUS message, and taking the focus away."""
import ctypes

CLIENT_MESSAGE = 33
FOCUS_NONE = 0
REVERT_TO_NONE = 0
CURRENT_TIME = 0


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("l", ctypes.c_long * 5)]


class _Event(ctypes.Union):
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]  # XEvent is 24 longs


def _xlib():
    x = ctypes.CDLL("libX11.so.6")
    x.XOpenDisplay.restype = ctypes.c_void_p
    x.XOpenDisplay.argtypes = [ctypes.c_char_p]
    x.XInternAtom.restype = ctypes.c_ulong
    x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                             ctypes.POINTER(_Event)]
    x.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
    x.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
    x.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return x


class Display:
    def __init__(self, name):
        self.x = _xlib()
        self.handle = self.x.XOpenDisplay(name.encode())
        if not self.handle:
            raise RuntimeError(f"cannot open display {name}")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.x.XCloseDisplay(self.handle)

    def take_focus(self, window):
        """WM_TAKE_FOCUS, as a window manager sends it to a window that is clicked."""
        event = _Event()
        event.xclient.type = CLIENT_MESSAGE
        event.xclient.window = window
        event.xclient.message_type = self.x.XInternAtom(self.handle, b"WM_PROTOCOLS", 0)
        event.xclient.format = 32
        event.xclient.l[0] = self.x.XInternAtom(self.handle, b"WM_TAKE_FOCUS", 0)
        event.xclient.l[1] = CURRENT_TIME
        self.x.XSendEvent(self.handle, window, 0, 0, ctypes.byref(event))
        self.x.XSync(self.handle, 0)

    def drop_focus(self):
        """The focus to no window, as when one of another program is clicked."""
        self.x.XSetInputFocus(self.handle, FOCUS_NONE, REVERT_TO_NONE, CURRENT_TIME)
        self.x.XSync(self.handle, 0)
