#include "tests/window/x_session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

namespace window_test {

namespace {

using Clock = std::chrono::steady_clock;

ExitStatus statusOf(int raw) {
    ExitStatus s;
    if (WIFEXITED(raw)) {
        s.exited = true;
        s.code = WEXITSTATUS(raw);
    } else if (WIFSIGNALED(raw)) {
        s.signal = WTERMSIG(raw);
    }
    return s;
}

// "NAME=" of a "NAME=value" entry.
std::string_view nameOf(std::string_view entry) {
    return entry.substr(0, entry.find('=') + 1);
}

// The test's own display settings never reach a child: it gets its display
// from `extraEnv` or has none.
bool inherited(std::string_view entry, const std::vector<std::string>& extraEnv) {
    const std::string_view name = nameOf(entry);
    for (std::string_view display : {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="}) {
        if (name == display) {
            return false;
        }
    }
    for (const std::string& e : extraEnv) {
        if (nameOf(e) == name) {
            return false;
        }
    }
    return true;
}

// What execve takes: pointers to the strings, then a null.
std::vector<char*> nullTerminated(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& s : strings) {
        pointers.push_back(s.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

void closeIfOpen(int fd) {
    if (fd >= 0) {
        ::close(fd);
    }
}

// Xlib's default error handler ends the process; windows come and go under
// the test's feet, so errors on them are only noted.
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

std::string ExitStatus::describe() const {
    std::ostringstream s;
    if (exited) {
        s << "exited with status " << code;
    } else if (signal != 0) {
        s << "killed by signal " << signal << " (" << strsignal(signal) << ")";
    } else {
        s << "ended in an unknown way";
    }
    return s.str();
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& extraEnv, const std::string& logPath,
                           int keepFd, const std::string& errorLogPath) {
    if (argv.empty()) {
        throw std::invalid_argument("no program to run");
    }
    // Everything the child needs is built before fork: only async-signal-safe
    // calls run between fork and exec.
    std::vector<std::string> envStore;
    for (char** e = environ; *e != nullptr; ++e) {
        if (inherited(*e, extraEnv)) {
            envStore.emplace_back(*e);
        }
    }
    envStore.insert(envStore.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp = nullTerminated(envStore);
    std::vector<std::string> argStore = argv;
    std::vector<char*> args = nullTerminated(argStore);

    const int log = ::open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errorLog =
        errorLogPath.empty()
            ? -1
            : ::open(errorLogPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const pid_t parent = ::getpid();
    pid_ = ::fork();
    const int forkError = errno;
    if (pid_ != 0) {
        // The parent keeps none of the child's files.
        for (int fd : {log, errorLog, devNull}) {
            closeIfOpen(fd);
        }
    }
    if (pid_ < 0) {
        throw std::runtime_error(std::string("fork failed: ") + std::strerror(forkError));
    }
    if (pid_ == 0) {
        // Dies with the test, so that no server or program outlives it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent) {
            ::_exit(127);
        }
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
        }
        if (log >= 0) {
            ::dup2(log, STDOUT_FILENO);
            ::dup2(log, STDERR_FILENO);
        }
        if (errorLog >= 0) {
            ::dup2(errorLog, STDERR_FILENO);
        }
        if (keepFd >= 0) {
            ::fcntl(keepFd, F_SETFD, 0);
        }
        ::execve(args[0], args.data(), envp.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        int raw = 0;
        ::waitpid(pid_, &raw, 0);
    }
}

std::optional<ExitStatus> ChildProcess::waitFor(Millis timeout) {
    if (status_) {
        return status_;
    }
    pollUntil(
        [&] {
            int raw = 0;
            const pid_t r = ::waitpid(pid_, &raw, WNOHANG);
            if (r == pid_) {
                status_ = statusOf(raw);
            } else if (r < 0 && errno != EINTR) {
                status_ = ExitStatus{};
            }
            return status_.has_value();
        },
        timeout);
    return status_;
}

ExitStatus ChildProcess::stop(Millis grace) {
    if (status_) {
        return *status_;
    }
    ::kill(pid_, SIGTERM);
    if (auto s = waitFor(grace)) {
        return *s;
    }
    ::kill(pid_, SIGKILL);
    int raw = 0;
    ::waitpid(pid_, &raw, 0);
    status_ = statusOf(raw);
    return *status_;
}

ExitStatus runToCompletion(const std::vector<std::string>& argv, const std::string& display,
                           Millis timeout) {
    ChildProcess child(argv, {"DISPLAY=" + display}, "/dev/null");
    if (auto s = child.waitFor(timeout)) {
        return *s;
    }
    return child.stop(Millis(0));
}

VirtualScreen::VirtualScreen(const std::string& xvfbPath, const std::string& logPath) {
    int fds[2] = {-1, -1};
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe failed: ") + std::strerror(errno));
    }
    const int readEnd = fds[0];
    const int writeEnd = fds[1];
    try {
        server_.emplace(
            // Room for the main window at three times its size (1401 x 1560).
            std::vector<std::string>{xvfbPath, "-displayfd", std::to_string(writeEnd), "-screen",
                                     "0", "1600x1600x24", "-nolisten", "tcp"},
            std::vector<std::string>{}, logPath, writeEnd);
    } catch (...) {
        ::close(readEnd);
        ::close(writeEnd);
        throw;
    }
    ::close(writeEnd);

    // The server writes its display number once it takes connections.
    std::string number;
    const auto deadline = Clock::now() + Millis(10000);
    bool done = false;
    while (!done) {
        const auto left = std::chrono::duration_cast<Millis>(deadline - Clock::now()).count();
        if (left <= 0) {
            break;
        }
        pollfd p{readEnd, POLLIN, 0};
        const int r = ::poll(&p, 1, static_cast<int>(left));
        if (r < 0 && errno == EINTR) {
            continue;
        }
        if (r <= 0) {
            break;
        }
        char buffer[32];
        const ssize_t n = ::read(readEnd, buffer, sizeof buffer);
        if (n <= 0) {
            break;  // the server went away
        }
        for (ssize_t i = 0; i < n; ++i) {
            if (buffer[i] == '\n') {
                done = true;
                break;
            }
            number.push_back(buffer[i]);
        }
    }
    ::close(readEnd);
    if (!done || number.empty()) {
        server_->stop(Millis(500));
        throw std::runtime_error("Xvfb did not report a display; its log says:\n" +
                                 readFile(logPath));
    }
    display_ = ":" + number;
}

Screenshot crop(const Screenshot& shot, int left, int top, int width, int height) {
    Screenshot part;
    part.width = width;
    part.height = height;
    part.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            part.pixels.push_back(shot.at(x, y));
        }
    }
    return part;
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

// The root's children, each with its name ("" if it has none).
std::vector<TopLevel> topLevels(Display* d) {
    std::vector<TopLevel> found;
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(d, DefaultRootWindow(d), &root, &parent, &children, &count) == 0) {
        return found;
    }
    for (unsigned int i = 0; i < count; ++i) {
        char* title = nullptr;
        XFetchName(d, children[i], &title);
        found.push_back({children[i], title != nullptr ? title : ""});
        if (title != nullptr) {
            XFree(title);
        }
    }
    if (children != nullptr) {
        XFree(children);
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
    return pollUntil(
        [&] {
            Window focused = 0;
            int revert = 0;
            XGetInputFocus(d, &focused, &revert);
            return focused == window;
        },
        timeout);
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

}  // namespace window_test
