#include "platform/qt/window_destroyed.h"

#include <xcb/xcb.h>

namespace platform {

bool WindowDestroyed::nativeEventFilter(const QByteArray& eventType, void* message,
                                        qintptr* /*result*/) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // The top bit marks an event another client sent.
    if ((event->response_type & 0x7F) == XCB_DESTROY_NOTIFY) {
        gone_(static_cast<const xcb_destroy_notify_event_t*>(message)->window);
    }
    return false;
}

}  // namespace platform
