#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace probe {

// Writes a line for every beep (a dot eaten): the steady clock's time as the
// game asked for the sound, in nanoseconds, the number of the tick it came
// in (from 1), and the beeps so far. The steady clock is the system's
// monotonic clock, so another process can set the line beside its own times.
class BeepLog {
  public:
    explicit BeepLog(const std::string& path);
    BeepLog(const BeepLog&) = delete;
    BeepLog& operator=(const BeepLog&) = delete;
    ~BeepLog();

    bool isOpen() const { return file_ != nullptr; }
    void beeped(std::chrono::steady_clock::time_point at, long long tick, long long beeps);

  private:
    std::FILE* file_ = nullptr;
};

}  // namespace probe
