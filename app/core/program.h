#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/core/script.h"
#include "app/core/session.h"
#include "app/core/trace.h"
#include "platform/platform.h"

namespace core {

// What every program that shows the game to a person does with it, the
// desktop window and the page alike: the player plays it, each input
// recorded as a script line the moment it is taken; or the program watches
// a script, and the windows take nothing but the main window's close, which
// ends the program. Either way the trace follows every handler, a line at a
// time.
class Program {
  public:
    Program(platform::Platform& platform, TraceWriter::Sink trace);

    // The player plays; `record` is given each input as a whole script line,
    // line end included.
    void play(std::function<void(std::string_view line)> record);
    // The program watches the script. One that neither ends nor closes the
    // main window stops at its last event, as at an end line.
    void watch(Script script);

    // Creates the main window and runs Form_Load, at time 0.
    void load() { session_.load(); }
    // Runs the game until the program ends or the watched script is over.
    // True when the program ended.
    bool run();
    // The watched script is over and the game stands still: the windows
    // take nothing but the main window's close, as while watching.
    void closeOnly();

    Session& session() { return session_; }

  private:
    platform::Platform& platform_;
    Session session_;
    std::optional<Script> watched_;
};

// The first line of a recording: what wrote it, when, and how to play it
// again ("# recorded by gulpo 1.0 on 2026-12-09 13:11:42 UTC; ...").
std::string recordingHeader(std::time_t now);

}  // namespace core
