// SPDX-License-Identifier: MIT
// Asks a window to close the way a window manager does when the user clicks its close button:
// a WM_PROTOCOLS ClientMessage carrying WM_DELETE_WINDOW, sent to the window with no event
// mask, so that only the client that made the window receives it.
//   send_close_request TITLE
// Finds the top-level window titled exactly TITLE (by WM_NAME or _NET_WM_NAME) on $DISPLAY.
// Exit codes: 0 sent, 1 no such window, 2 no display or bad usage.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The window's title as UTF-8 (_NET_WM_NAME), or else its WM_NAME; empty if it has neither.
std::string WindowTitle(Display* display, Window window) {
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* bytes = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count,
                           &remaining, &bytes) == Success &&
        bytes != nullptr) {
        if (type == utf8 && format == 8) title.assign(reinterpret_cast<char*>(bytes), count);
        XFree(bytes);
    }
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

// Searches the tree under the window, depth first, for a window with the title.
Window FindWindow(Display* display, Window window, const char* title) {
    if (WindowTitle(display, window) == title) return window;
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) return None;
    Window found = None;
    for (unsigned int i = 0; i < count && found == None; ++i) {
        found = FindWindow(display, children[i], title);
    }
    if (children != nullptr) XFree(children);
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TITLE\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    const Window window = FindWindow(display, DefaultRootWindow(display), argv[1]);
    if (window == None) {
        std::fprintf(stderr, "%s: no window titled %s\n", argv[0], argv[1]);
        XCloseDisplay(display);
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
    return 0;
}
