#pragma once

#include <QSocketNotifier>
#include <cstdint>
#include <deque>
#include <string>

#include "app/core/script.h"
#include "app/core/session.h"
#include "app/desktop/command_pipe.h"
#include "platform/qt/qt_platform.h"

namespace desktop {

// The game in its real window on a clock that only a test moves, for tests
// that compare the window on the screen with a fresh rendering of it: while
// the test looks, nothing moves. The test writes a line at a time and is
// answered with one line, "ok T" (T the game's clock) or "error ...":
//
//   T VERB ARGS     a replay script line: the input is delivered at time T
//                   (not before the clock), once the clock gets there
//   advance MS      the clock may move MS further: the game runs until it
//                   needs more time than that (a wait in the middle of a
//                   tick stays frozen there until the next advance)
//   state           "ok " and the game's state as a trace line shows it
//   snap PATH W H   once the window has taken the size W x H the screen
//                   gives it, saves a fresh rendering of it to PATH (PNG)
//
// Input, and answers to "advance", are answered once the game stands still.
class SteppedClock {
  public:
    SteppedClock(platform::QtPlatform& platform, core::Session& session,
                 const std::string& commandsPath, const std::string& repliesPath);
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

  private:
    std::int64_t pace(std::int64_t until);
    // Serves one line; true when it lets the game go on.
    bool serve(const std::string& line);
    bool input(const std::string& line);
    std::string snap(const std::string& path, int width, int height);
    void reply(const std::string& answer);

    platform::QtPlatform& platform_;
    core::Session& session_;
    CommandPipe pipe_;
    QSocketNotifier arrived_;
    std::int64_t allowed_ = 0;
    bool replyOwed_ = false;
    // The lines given so far, which the trace quotes injections from.
    std::deque<core::Script> lines_;
};

}  // namespace desktop
