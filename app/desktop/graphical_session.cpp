#include "app/desktop/graphical_session.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace desktop {

namespace {

std::string setting(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

bool platformNamed(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform") {
            return true;
        }
    }
    return !setting("QT_QPA_PLATFORM").empty();
}

// Where a Wayland client connects: WAYLAND_DISPLAY as a path, or as a name
// in the runtime directory, "wayland-0" when unset.
bool waylandSocketFound() {
    std::string name = setting("WAYLAND_DISPLAY");
    if (name.empty()) {
        name = "wayland-0";
    }
    std::filesystem::path socket(name);
    if (socket.is_relative()) {
        const std::string runtimeDir = setting("XDG_RUNTIME_DIR");
        if (runtimeDir.empty()) {
            return false;
        }
        socket = std::filesystem::path(runtimeDir) / socket;
    }
    std::error_code ignored;
    return std::filesystem::is_socket(socket, ignored);
}

}  // namespace

bool graphicalSessionFound(int argc, char** argv) {
    return platformNamed(argc, argv) || !setting("DISPLAY").empty() || waylandSocketFound();
}

}  // namespace desktop
