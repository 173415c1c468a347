#include "app/core/trace.h"

#include <algorithm>
#include <charconv>

#include "game/about.h"
#include "game/module_variables.h"

namespace core {

void TraceWriter::watch(game::FrmGulpo& gulpo, const platform::Platform& platform) {
    gulpo_ = &gulpo;
    platform_ = &platform;
    // Pictures are named by the store whose picture object a sprite shows,
    // or "own" while it still shows the one it had at load.
    ownGulpo_ = gulpo.imgGulpo.picture().Handle();
    ownGhost_[0] = gulpo.imgGhost1.picture().Handle();
    ownGhost_[1] = gulpo.imgGhost2.picture().Handle();
    ownGhost_[2] = gulpo.imgGhost3.picture().Handle();
    ownFruit_ = gulpo.imgFruit.picture().Handle();
    for (const char* name :
         {"imgGulpoLeft", "imgGulpoRight", "imgGulpoDown", "imgGulpoUp", "imgGulpo2",
          "imgGhost1real", "imgGhost2real", "imgGhost3real", "imgBlue", "imgApple", "imgPeach",
          "imgStrawberry", "imgCherry", "imgBlank"}) {
        stores_.emplace_back(gulpo.sprite(name).picture().Handle(), name);
    }
}

std::string_view TraceWriter::pictureName(const platform::Image& sprite, std::uint32_t own) const {
    const std::uint32_t h = sprite.picture().Handle();
    for (const auto& [handle, name] : stores_) {
        if (handle == h) {
            return name;
        }
    }
    return h == own ? "own" : "unknown";
}

void TraceWriter::number(std::int64_t n) {
    char digits[24];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
    (void)ec;
    buffer_.append(digits, end);
}

void TraceWriter::boolean(bool b) {
    raw(b ? "true" : "false");
}

void TraceWriter::string(std::string_view s) {
    buffer_ += '"';
    for (char c : s) {
        switch (c) {
            case '"':
                raw("\\\"");
                break;
            case '\\':
                raw("\\\\");
                break;
            case '\n':
                raw("\\n");
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    static constexpr char kHexDigits[] = "0123456789abcdef";
                    raw("\\u00");
                    buffer_ += kHexDigits[(c >> 4) & 0xF];
                    buffer_ += kHexDigits[c & 0xF];
                } else {
                    buffer_ += c;
                }
        }
    }
    buffer_ += '"';
}

void TraceWriter::begin(std::string_view ev) {
    raw("{\"t\":");
    number(platform_->nowMs());
    raw(",\"ev\":\"");
    raw(ev);
    raw("\",\"depth\":");
    // Lines written from the main loop itself (the exit) count as depth 0.
    number(std::max(0, platform_->depth()));
}

void TraceWriter::end() {
    raw("}\n");
    if (buffer_.size() >= flushAt_) {
        flush();
    }
}

void TraceWriter::flush() {
    if (sink_ && !buffer_.empty()) {
        sink_(buffer_);
    }
    buffer_.clear();
}

std::string TraceWriter::stateNow() {
    std::string lines;
    lines.swap(buffer_);
    state();
    std::string object = buffer_.substr(std::string_view(",\"state\":").size());
    buffer_.swap(lines);
    return object;
}

void TraceWriter::state() {
    game::FrmGulpo& g = *gulpo_;
    raw(",\"state\":{");
    const platform::Image* actors[] = {&g.imgGulpo, &g.imgGhost1, &g.imgGhost2, &g.imgGhost3};
    const char* keys[] = {"\"gulpo\":[", ",\"ghost1\":[", ",\"ghost2\":[", ",\"ghost3\":["};
    const std::uint32_t owns[] = {ownGulpo_, ownGhost_[0], ownGhost_[1], ownGhost_[2]};
    for (int i = 0; i < 4; ++i) {
        raw(keys[i]);
        number(actors[i]->box().left);
        raw(",");
        number(actors[i]->box().top);
        raw(",");
        string(pictureName(*actors[i], owns[i]));
        raw("]");
    }
    raw(",\"fruit\":[");
    string(pictureName(g.imgFruit, ownFruit_));
    raw(",");
    boolean(g.imgFruit.Visible());
    raw("]");
    for (const game::ModuleVariable& v : game::kModuleVariables) {
        raw(",\"");
        raw(v.name);
        raw("\":");
        number(g.*v.member);
    }
    raw(",\"food\":\"");
    for (int i = 0; i < g.shpFood.size(); ++i) {
        buffer_ += g.shpFood(i).Visible() ? '1' : '0';
    }
    raw("\",\"big\":\"");
    for (int i = 0; i < g.shpBig.size(); ++i) {
        buffer_ += g.shpBig(i).Visible() ? '1' : '0';
    }
    raw("\",\"tmrMain\":");
    number(g.tmrMain.Interval());
    raw(",\"tmrGhost\":[");
    boolean(g.tmrGhost1.Enabled());
    raw(",");
    boolean(g.tmrGhost2.Enabled());
    raw(",");
    boolean(g.tmrGhost3.Enabled());
    raw("],\"lblScore\":");
    string(g.lblScore.Caption());
    raw(",\"lblLives\":");
    string(g.lblLives.Caption());
    raw(",\"lblLevel\":");
    string(g.lblLevel.Caption());
    raw(",\"cmdStart\":");
    boolean(g.cmdStart.Visible());
    raw(",\"cmdAbout\":");
    boolean(g.cmdAbout.Visible());
    raw(",\"beeps\":");
    number(platform_->beeps());
    raw(",\"about\":\"");
    const game::FrmAbout* about = g.frmAbout();
    raw(about == nullptr ? "none" : (about->frmAbout.Visible() ? "shown" : "hidden"));
    raw("\"}");
}

void TraceWriter::handlerReturned(game::Handler handler, int detail) {
    if (handler == game::Handler::tick) {
        ++ticks_;
    }
    if (afterEach) {
        afterEach();
    }
    if (!sink_) {
        return;
    }
    begin(game::handlerName(handler));
    if (handler == game::Handler::key) {
        raw(",\"code\":");
        number(detail);
    } else if (handler == game::Handler::tick) {
        raw(",\"coin\":");
        number(gulpo_->CoinFlip);
    } else if (handler == game::Handler::ghost) {
        raw(",\"n\":");
        number(detail);
    }
    state();
    end();
}

void TraceWriter::waitBegan(int ms) {
    if (!sink_) {
        return;
    }
    begin("wait");
    raw(",\"ms\":");
    number(ms);
    end();
}

void TraceWriter::waitEnded() {
    if (!sink_) {
        return;
    }
    begin("wait_end");
    end();
}

void TraceWriter::injection(std::string_view verb, std::string_view args) {
    if (afterEach) {
        afterEach();
    }
    if (!sink_) {
        return;
    }
    begin(verb);
    raw(",\"args\":[");
    for (std::size_t at = 0; at <= args.size() && !args.empty();) {
        const std::size_t after = std::min(args.find(' ', at), args.size());
        if (at > 0) {
            raw(",");
        }
        string(args.substr(at, after - at));
        at = after + 1;
    }
    raw("]");
    state();
    end();
}

void TraceWriter::aboutDestroyed() {
    if (afterEach) {
        afterEach();
    }
    if (!sink_) {
        return;
    }
    begin("aboutwin");
    state();
    end();
}

void TraceWriter::exited() {
    if (!sink_) {
        return;
    }
    begin("exit");
    end();
}

}  // namespace core
