#include "platform/qt/event_sound.h"

#include <canberra.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>

namespace platform {

namespace {

// The theme's bell for the window system; themes without it have the plain
// bell.
constexpr const char* kBellEvents[] = {"bell-window-system", "bell"};

// How long the end of the program waits for the worker to hang up.
constexpr std::chrono::milliseconds kHangUpWait{300};

enum class Readiness { connecting, ready, unavailable };

// Opens a context on the sound server and puts the bell into the server's
// sample cache. The event it cached, or "" if there is no server to play it.
std::string connectAndCache(ca_context* context, const std::string& applicationName,
                            const std::string& applicationId) {
    // Only a sound server: playing straight to the sound card would take it
    // from the desktop.
    if (ca_context_set_driver(context, "pulse") != CA_SUCCESS ||
        ca_context_change_props(context, CA_PROP_APPLICATION_NAME, applicationName.c_str(),
                                CA_PROP_APPLICATION_ID, applicationId.c_str(),
                                nullptr) != CA_SUCCESS ||
        ca_context_open(context) != CA_SUCCESS) {
        return "";
    }
    for (const char* event : kBellEvents) {
        if (ca_context_cache(context, CA_PROP_EVENT_ID, event, nullptr) == CA_SUCCESS) {
            return event;
        }
    }
    return "";
}

}  // namespace

struct EventSound::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    int requested = 0;
    bool stopping = false;
    bool finished = false;
    std::atomic<Readiness> readiness{Readiness::connecting};

    void run(const std::string& applicationName, const std::string& applicationId);
    void playUntilStopped(ca_context* context, const std::string& event);
};

void EventSound::Shared::run(const std::string& applicationName, const std::string& applicationId) {
    ca_context* context = nullptr;
    if (ca_context_create(&context) == CA_SUCCESS) {
        const std::string event = connectAndCache(context, applicationName, applicationId);
        if (!event.empty()) {
            readiness = Readiness::ready;
            playUntilStopped(context, event);
        }
        ca_context_destroy(context);
    }
    readiness = Readiness::unavailable;
    const std::lock_guard lock(mutex);
    finished = true;
    wake.notify_all();
}

void EventSound::Shared::playUntilStopped(ca_context* context, const std::string& event) {
    for (;;) {
        int sounds = 0;
        {
            std::unique_lock lock(mutex);
            wake.wait(lock, [this] { return stopping || requested > 0; });
            if (stopping) {
                return;
            }
            sounds = requested;
            requested = 0;
        }
        for (int i = 0; i < sounds; ++i) {
            if (ca_context_play(context, 0, CA_PROP_EVENT_ID, event.c_str(),
                                CA_PROP_EVENT_DESCRIPTION, "Dot eaten",
                                CA_PROP_CANBERRA_CACHE_CONTROL, "permanent",
                                nullptr) != CA_SUCCESS) {
                // The server went away: from now on the X bell stands in.
                return;
            }
        }
    }
}

EventSound::EventSound(const std::string& applicationName, const std::string& applicationId)
    : shared_(std::make_shared<Shared>()) {
    worker_ = std::thread([shared = shared_, applicationName, applicationId] {
        shared->run(applicationName, applicationId);
    });
}

EventSound::~EventSound() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake.notify_all();
    if (shared_->wake.wait_for(lock, kHangUpWait, [this] { return shared_->finished; })) {
        lock.unlock();
        worker_.join();
    } else {
        // Stuck on a server that does not answer; the worker keeps its own
        // share of the state and ends with the process.
        lock.unlock();
        worker_.detach();
    }
}

bool EventSound::play() {
    if (shared_->readiness != Readiness::ready) {
        return false;
    }
    const std::lock_guard lock(shared_->mutex);
    ++shared_->requested;
    shared_->wake.notify_all();
    return true;
}

}  // namespace platform
