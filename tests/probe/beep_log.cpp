#include "tests/probe/beep_log.h"

namespace probe {

BeepLog::BeepLog(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {}

BeepLog::~BeepLog() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

void BeepLog::beeped(std::chrono::steady_clock::time_point at, long long tick, long long beeps) {
    if (file_ == nullptr) {
        return;
    }
    std::fprintf(file_, "%lld %lld %lld\n",
                 static_cast<long long>(std::chrono::nanoseconds(at.time_since_epoch()).count()),
                 tick, beeps);
    // Read while the game goes on.
    std::fflush(file_);
}

}  // namespace probe
