#include "sessions/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace sessions {

namespace {

// Xlib's default error handler ends the process; windows come and go under
// the session's feet, so errors on them are only noted.
int noteError(Display*, XErrorEvent*) {
    return 0;
}

Display* dpy(void* d) {
    return static_cast<Display*>(d);
}

Atom atom(Display* d, const char* name) {
    return XInternAtom(d, name, False);
}

int shiftOf(unsigned long mask) {
    int shift = 0;
    while (mask != 0 && (mask & 1UL) == 0) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::uint32_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) {
        return 0;
    }
    const unsigned long bits = (pixel & mask) >> shiftOf(mask);
    const unsigned long top = mask >> shiftOf(mask);
    return static_cast<std::uint32_t>(bits * 255UL / top);
}

}  // namespace

bool xvfbInstalled() {
    return !std::string(GULPO_XVFB).empty();
}

VirtualScreen::VirtualScreen(const std::string& logPath) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe failed: ") + std::strerror(errno));
    }
    const int readEnd = fds[0];
    const int writeEnd = fds[1];
    ::fcntl(readEnd, F_SETFL, O_NONBLOCK);
    // The server writes its display number once it takes connections.
    std::string number;
    const auto reported = [&] {
        char c = 0;
        while (::read(readEnd, &c, 1) == 1) {
            if (c == '\n') {
                return !number.empty();
            }
            number.push_back(c);
        }
        return false;
    };
    try {
        server_.emplace(ServerStart{"Xvfb",
                                    {GULPO_XVFB, "-displayfd", std::to_string(writeEnd), "-screen",
                                     "0", "1600x1600x24", "-nolisten", "tcp"},
                                    {},
                                    logPath,
                                    reported,
                                    writeEnd});
    } catch (...) {
        ::close(readEnd);
        ::close(writeEnd);
        throw;
    }
    ::close(readEnd);
    ::close(writeEnd);
    display_ = ":" + number;
}

XClient::XClient(const std::string& display) {
    XSetErrorHandler(noteError);
    display_ = XOpenDisplay(display.c_str());
    if (display_ == nullptr) {
        throw std::runtime_error("cannot open display " + display);
    }
}

XClient::~XClient() {
    if (display_ != nullptr) {
        XCloseDisplay(dpy(display_));
    }
}

XWindowId XClient::findTopLevel(const std::string& name, Millis timeout) {
    XWindowId best = 0;
    pollUntil(
        [&] {
            long bestArea = 0;
            for (XWindowId w : topLevelsNamed(name)) {
                const auto s = size(w);
                const long area = s ? static_cast<long>(s->width) * s->height : 0;
                if (mapState(w) == MapState::viewable && area > bestArea) {
                    bestArea = area;
                    best = w;
                }
            }
            return best != 0;
        },
        timeout);
    return best;
}

const char* describe(MapState state) {
    switch (state) {
        case MapState::gone:
            return "gone (destroyed)";
        case MapState::unmapped:
            return "unmapped";
        case MapState::unviewable:
            return "mapped but not viewable";
        case MapState::viewable:
            return "mapped and viewable";
    }
    return "in an unknown state";
}

namespace {

struct TopLevel {
    Window window;
    std::string name;
};

std::vector<Window> childrenOf(Display* d, Window window) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, window, &root, &parent, &children, &count) == 0) {
        return {};
    }
    std::vector<Window> found(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

std::string nameOf(Display* d, Window window) {
    char* title = nullptr;
    XFetchName(d, window, &title);
    std::string name = title != nullptr ? title : "";
    if (title != nullptr) {
        XFree(title);
    }
    return name;
}

// The root's children, each with its name ("" if it has none), and in
// place of a window manager's frame, which has none, the named windows it
// frames.
std::vector<TopLevel> topLevels(Display* d) {
    std::vector<TopLevel> found;
    for (Window w : childrenOf(d, DefaultRootWindow(d))) {
        const std::string name = nameOf(d, w);
        if (!name.empty()) {
            found.push_back({w, name});
            continue;
        }
        found.push_back({w, ""});
        for (Window framed : childrenOf(d, w)) {
            if (std::string inner = nameOf(d, framed); !inner.empty()) {
                found.push_back({framed, inner});
            }
        }
    }
    return found;
}

}  // namespace

std::vector<XWindowId> XClient::topLevelsNamed(const std::string& name) {
    std::vector<XWindowId> found;
    for (const TopLevel& t : topLevels(dpy(display_))) {
        if (t.name == name) {
            found.push_back(t.window);
        }
    }
    return found;
}

std::vector<std::string> XClient::shownTopLevelNames() {
    std::vector<std::string> names;
    for (const TopLevel& t : topLevels(dpy(display_))) {
        if (mapState(t.window) == MapState::viewable) {
            names.push_back(t.name);
        }
    }
    return names;
}

MapState XClient::mapState(XWindowId window) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(dpy(display_), window, &a) == 0) {
        return MapState::gone;
    }
    switch (a.map_state) {
        case IsViewable:
            return MapState::viewable;
        case IsUnviewable:
            return MapState::unviewable;
        default:
            return MapState::unmapped;
    }
}

bool XClient::waitForMapState(XWindowId window, MapState wanted, Millis timeout) {
    return pollUntil([&] { return mapState(window) == wanted; }, timeout);
}

bool XClient::resize(XWindowId window, WindowSize wanted, Millis timeout) {
    Display* d = dpy(display_);
    XResizeWindow(d, window, static_cast<unsigned>(wanted.width),
                  static_cast<unsigned>(wanted.height));
    XSync(d, False);
    return pollUntil(
        [&] {
            const auto now = size(window);
            return now && now->width == wanted.width && now->height == wanted.height;
        },
        timeout);
}

std::optional<WindowIcons> XClient::icons(XWindowId window) {
    Display* d = dpy(display_);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0;
    unsigned long left = 0;
    unsigned char* data = nullptr;
    // Read it whole: the length is in 32-bit units, far more than any icon.
    if (XGetWindowProperty(d, window, atom(d, "_NET_WM_ICON"), 0, 1L << 24, False, AnyPropertyType,
                           &type, &format, &items, &left, &data) != Success) {
        return std::nullopt;
    }
    if (type == None) {
        if (data != nullptr) {
            XFree(data);
        }
        return std::nullopt;
    }
    WindowIcons result;
    char* typeName = XGetAtomName(d, type);
    result.type = typeName != nullptr ? typeName : "";
    if (typeName != nullptr) {
        XFree(typeName);
    }
    result.format = format;
    result.items = items;
    if (format == 32 && data != nullptr) {
        // Xlib hands 32-bit items back as longs.
        const auto* values = reinterpret_cast<const unsigned long*>(data);
        unsigned long at = 0;
        result.wellFormed = items > 0;
        while (at < items) {
            if (items - at < 2) {
                result.wellFormed = false;
                break;
            }
            const unsigned long w = values[at];
            const unsigned long h = values[at + 1];
            result.images.push_back({static_cast<int>(w), static_cast<int>(h)});
            if (w == 0 || h == 0 || w * h > items - at - 2) {
                result.wellFormed = false;
                break;
            }
            if (static_cast<long>(w * h) >
                static_cast<long>(result.largest.width) * result.largest.height) {
                result.largest = result.images.back();
                result.largestPixels.clear();
                for (unsigned long i = 0; i < w * h; ++i) {
                    result.largestPixels.push_back(
                        static_cast<std::uint32_t>(values[at + 2 + i] & 0xFFFFFFFFUL));
                }
            }
            at += 2 + w * h;
        }
    }
    if (data != nullptr) {
        XFree(data);
    }
    return result;
}

std::optional<WindowSize> XClient::size(XWindowId window) {
    XWindowAttributes a{};
    if (XGetWindowAttributes(dpy(display_), window, &a) == 0) {
        return std::nullopt;
    }
    return WindowSize{a.width, a.height};
}

std::optional<WindowSize> XClient::screenSize() {
    return size(DefaultRootWindow(dpy(display_)));
}

std::string WindowRect::describe() const {
    return std::to_string(width) + "x" + std::to_string(height) + " at (" + std::to_string(x) +
           "," + std::to_string(y) + ")";
}

std::optional<WindowRect> XClient::placement(XWindowId window) {
    Display* d = dpy(display_);
    const auto s = size(window);
    Window child = 0;
    int x = 0;
    int y = 0;
    if (!s || XTranslateCoordinates(d, window, DefaultRootWindow(d), 0, 0, &x, &y, &child) == 0) {
        return std::nullopt;
    }
    return WindowRect{x, y, s->width, s->height};
}

std::optional<WindowRect> XClient::framePlacement(XWindowId window) {
    Display* d = dpy(display_);
    Window at = window;
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(d, at, &root, &parent, &children, &count) == 0) {
            return std::nullopt;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root) {
            return placement(at);
        }
        at = parent;
    }
}

bool XClient::managed() {
    Display* d = dpy(display_);
    return XGetSelectionOwner(d, atom(d, "WM_S0")) != None;
}

XWindowId XClient::owner(XWindowId window) {
    Window owner = 0;
    return XGetTransientForHint(dpy(display_), window, &owner) != 0 ? owner : 0;
}

std::string XClient::instanceName(XWindowId window) {
    XClassHint hint{};
    if (XGetClassHint(dpy(display_), window, &hint) == 0) {
        return "";
    }
    std::string result = hint.res_name != nullptr ? hint.res_name : "";
    for (char* text : {hint.res_name, hint.res_class}) {
        if (text != nullptr) {
            XFree(text);
        }
    }
    return result;
}

bool XClient::takesDeleteRequests(XWindowId window) {
    Display* d = dpy(display_);
    Atom* protocols = nullptr;
    int count = 0;
    if (XGetWMProtocols(d, window, &protocols, &count) == 0) {
        return false;
    }
    const Atom wanted = atom(d, "WM_DELETE_WINDOW");
    bool found = false;
    for (int i = 0; i < count; ++i) {
        found = found || protocols[i] == wanted;
    }
    XFree(protocols);
    return found;
}

Screenshot XClient::capture(XWindowId window) {
    Display* d = dpy(display_);
    Screenshot shot;
    const auto s = size(window);
    if (!s || s->width <= 0 || s->height <= 0) {
        return shot;
    }
    XImage* image = XGetImage(d, window, 0, 0, static_cast<unsigned>(s->width),
                              static_cast<unsigned>(s->height), AllPlanes, ZPixmap);
    if (image == nullptr) {
        return shot;
    }
    shot.width = s->width;
    shot.height = s->height;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) *
                       static_cast<std::size_t>(shot.height));
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            const unsigned long p = XGetPixel(image, x, y);
            shot.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(shot.width) +
                        static_cast<std::size_t>(x)] = (channel(p, image->red_mask) << 16) |
                                                       (channel(p, image->green_mask) << 8) |
                                                       channel(p, image->blue_mask);
        }
    }
    XDestroyImage(image);
    return shot;
}

bool XClient::focus(XWindowId window, Millis timeout) {
    Display* d = dpy(display_);
    XSetInputFocus(d, window, RevertToParent, CurrentTime);
    XSync(d, False);
    return pollUntil([&] { return inputFocus() == window; }, timeout);
}

XWindowId XClient::inputFocus() {
    Window focused = 0;
    int revert = 0;
    XGetInputFocus(dpy(display_), &focused, &revert);
    return focused;
}

void XClient::destroy(XWindowId window) {
    XDestroyWindow(dpy(display_), window);
    XSync(dpy(display_), False);
}

ServerStart windowManager(XClient& x, const std::string& display, const std::string& dir) {
    return {"xfwm4",
            {GULPO_XFWM4, "--compositor=off"},
            {"DISPLAY=" + display, "DBUS_SESSION_BUS_ADDRESS=" + busAddress(dir), "NO_AT_BRIDGE=1"},
            dir + "/xfwm4.log",
            [&x] { return x.managed(); }};
}

void XClient::askToClose(XWindowId window) {
    Display* d = dpy(display_);
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = atom(d, "WM_PROTOCOLS");
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(atom(d, "WM_DELETE_WINDOW"));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, window, False, NoEventMask, &event);
    XSync(d, False);
}

}  // namespace sessions
