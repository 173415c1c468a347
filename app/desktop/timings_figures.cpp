#include "app/desktop/timings_figures.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace desktop {

std::vector<TimingsLine> readTimings(const std::string& path) {
    std::vector<TimingsLine> lines;
    std::ifstream in(path);
    for (std::string text; std::getline(in, text);) {
        std::istringstream fields(text);
        TimingsLine l;
        if (fields >> l.what >> l.ns) {
            fields >> l.t >> l.beeps;
            lines.push_back(l);
        }
    }
    return lines;
}

TickPace tickPace(const std::vector<TimingsLine>& lines) {
    TickPace pace;
    long long last = -1;
    long long gaps = 0;
    double measuredMs = 0;
    bool froze = false;
    for (const TimingsLine& l : lines) {
        if (l.what == "wait") {
            froze = true;
        }
        if (l.what != "tick") {
            continue;
        }
        ++pace.ticks;
        if (last >= 0 && !froze) {
            const double gap = static_cast<double>(l.ns - last) / 1e6;
            pace.longestGapMs = std::max(pace.longestGapMs, gap);
            measuredMs += gap;
            ++gaps;
        }
        froze = false;
        last = l.ns;
    }
    pace.playedSeconds = measuredMs / 1000.0;
    pace.perSecond = measuredMs > 0 ? static_cast<double>(gaps) * 1000.0 / measuredMs : 0;
    return pace;
}

PaintsPerTick paintsPerTick(const std::vector<TimingsLine>& lines) {
    PaintsPerTick p;
    long long sinceTick = 0;
    bool mixed = true;  // until the first tick
    for (const TimingsLine& l : lines) {
        if (l.what == "paint") {
            ++p.paints;
            ++sinceTick;
        } else if (l.what == "tick") {
            if (!mixed) {
                ++p.stretches;
                p.most = std::max(p.most, sinceTick);
                p.overOne += sinceTick > 1 ? 1 : 0;
            }
            sinceTick = 0;
            mixed = false;
        } else if (l.what != "beep" && l.what != "wait_end") {
            mixed = true;
        }
    }
    return p;
}

}  // namespace desktop
