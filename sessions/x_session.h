#pragma once

// A real X session: a private Xvfb server, and an Xlib client that finds,
// captures, focuses and closes windows the way a window manager would.
//
// Xlib's headers stay inside x_session.cpp (their macros clash with other
// libraries'), so windows are plain X ids here.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sessions/artifact.h"
#include "sessions/process.h"

namespace sessions {

using XWindowId = unsigned long;

// Whether this machine has the X server the sessions run on.
bool xvfbInstalled();

// A private Xvfb server on a display number it picks itself, with room for
// the main window at three times its size.
class VirtualScreen {
  public:
    // Throws std::runtime_error, with its log at `logPath`, if the server
    // does not come up.
    explicit VirtualScreen(const std::string& logPath);
    const std::string& display() const { return display_; }

  private:
    std::string display_;
    std::optional<Server> server_;
};

struct WindowSize {
    int width = 0;
    int height = 0;
};

// Where a window lies on the screen.
struct WindowRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool within(const WindowRect& outer) const {
        return x >= outer.x && y >= outer.y && x + width <= outer.x + outer.width &&
               y + height <= outer.y + outer.height;
    }
    std::string describe() const;
};

// Where a window stands with the server.
enum class MapState {
    gone,        // the window no longer exists
    unmapped,    // it exists but is not mapped
    unviewable,  // mapped, but an ancestor is not
    viewable,    // mapped and showing
};
const char* describe(MapState state);

// What a window's _NET_WM_ICON property holds: the icons' sizes, in order.
struct WindowIcons {
    std::string type;                // the property's type ("CARDINAL")
    int format = 0;                  // bits per item (32)
    unsigned long items = 0;         // how many items the property has
    std::vector<WindowSize> images;  // each icon's width and height
    bool wellFormed = false;         // the items are exactly whole icons
    // The largest icon's pixels as 0xAARRGGBB, rows top first.
    WindowSize largest;
    std::vector<std::uint32_t> largestPixels;
};

// An Xlib connection to a display.
class XClient {
  public:
    // Throws std::runtime_error if the display cannot be opened.
    explicit XClient(const std::string& display);
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;
    ~XClient();

    // The largest mapped top-level window whose name is exactly `name` (the
    // window itself, not the frame a window manager gives it); polls until
    // `timeout` has passed, 0 if there is none.
    XWindowId findTopLevel(const std::string& name, Millis timeout);
    // Every top-level window whose name is exactly `name`, mapped or not.
    std::vector<XWindowId> topLevelsNamed(const std::string& name);
    // The names of the top-level windows the server shows (mapped and
    // viewable), "" for one without a name.
    std::vector<std::string> shownTopLevelNames();
    // The client area's size, or nothing if the window is gone.
    std::optional<WindowSize> size(XWindowId window);
    // The size of the screen the windows are on.
    std::optional<WindowSize> screenSize();
    // Where the client area lies on the screen; nothing if the window is gone.
    std::optional<WindowRect> placement(XWindowId window);
    // Where the window lies with the frame a window manager gave it.
    std::optional<WindowRect> framePlacement(XWindowId window);
    // Whether a window manager manages the screen.
    bool managed();
    // The window that `window` belongs to (WM_TRANSIENT_FOR), or 0.
    XWindowId owner(XWindowId window);
    MapState mapState(XWindowId window);
    // Polls until the window is in `wanted`; false if it is not by `timeout`.
    bool waitForMapState(XWindowId window, MapState wanted, Millis timeout);
    // What a window manager does when the user drags the frame: asks the
    // server for a new client size (with no window manager running, the
    // server grants it at once) and waits until the server reports it.
    bool resize(XWindowId window, WindowSize wanted, Millis timeout);
    // The window's _NET_WM_ICON property, or nothing if it has none.
    std::optional<WindowIcons> icons(XWindowId window);
    // The instance part of the window's WM_CLASS ("" if none).
    std::string instanceName(XWindowId window);
    // Whether the window lists WM_DELETE_WINDOW among its WM_PROTOCOLS.
    bool takesDeleteRequests(XWindowId window);
    // The window's client area as it is on the screen now (empty if the
    // window is gone).
    Screenshot capture(XWindowId window);
    // Gives the window the input focus, as a window manager would, and waits
    // until the server reports it has it.
    bool focus(XWindowId window, Millis timeout);
    // The window that has the input focus.
    XWindowId inputFocus();
    // Destroys the window, as any client of the server may.
    void destroy(XWindowId window);
    // What a window manager's close button does: a WM_DELETE_WINDOW client
    // message on WM_PROTOCOLS.
    void askToClose(XWindowId window);

  private:
    void* display_ = nullptr;  // Display*
};

// xfwm4 on `display`, which frames windows and places a dialog at the
// screen's centre rather than over its owner, on the session bus at
// busAddress(`dir`), which starts its settings' daemon.
ServerStart windowManager(XClient& x, const std::string& display, const std::string& dir);

}  // namespace sessions
