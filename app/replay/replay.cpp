#include "app/replay/replay.h"

#include <stdexcept>
#include <string>

#include "game/about.h"
#include "game/module_variables.h"

namespace replay {

namespace {

int whole(const std::string& text) {
    return std::stoi(text);
}

}  // namespace

Replay::Replay(TraceWriter::Sink sink) : trace_(std::move(sink)) {
    gulpo_ = std::make_unique<game::FrmGulpo>(platform_, &trace_);
    trace_.watch(*gulpo_, platform_);
    gulpo_->load();
}

game::Int16& Replay::variable(const std::string& name) {
    // The script parser has already refused any other name.
    const game::ModuleVariable* v = game::findModuleVariable(name);
    if (v == nullptr) {
        throw std::invalid_argument("no module variable named " + name);
    }
    return (*gulpo_).*(v->member);
}

void Replay::deliver(const ScriptEvent& e) {
    game::FrmGulpo& g = *gulpo_;
    game::FrmAbout* about = g.frmAbout();
    const bool aboutShown = about != nullptr && about->frmAbout.Visible();
    if (e.verb == "key") {
        g.frmGulpo.keyDown(whole(e.args[0]));
    } else if (e.verb == "alt") {
        if (!g.frmGulpo.accessKey(e.args[0][0]) && aboutShown) {
            about->frmAbout.accessKey(e.args[0][0]);
        }
    } else if (e.verb == "click") {
        if (e.args[0] == "start") {
            g.frmGulpo.click(g.cmdStart);
        } else if (e.args[0] == "about") {
            g.frmGulpo.click(g.cmdAbout);
        } else if (aboutShown) {
            about->frmAbout.click(about->cmdClose);
        }
    } else if (e.verb == "closewin") {
        if (e.args[0] == "main") {
            g.frmGulpo.frameClose();
        } else if (about != nullptr) {
            about->frmAbout.frameClose();
            trace_.aboutDestroyed();
        }
    } else if (e.verb == "set") {
        variable(e.args[0]) = whole(e.args[1]);
        trace_.injection(e.verb, e.args);
    } else if (e.verb == "place") {
        game::place(g.sprite(e.args[0]), static_cast<float>(whole(e.args[1])),
                    static_cast<float>(whole(e.args[2])));
        trace_.injection(e.verb, e.args);
    } else if (e.verb == "food") {
        g.shpFood(whole(e.args[0])).setVisible(whole(e.args[1]) == 1);
        trace_.injection(e.verb, e.args);
    } else if (e.verb == "big") {
        g.shpBig(whole(e.args[0])).setVisible(whole(e.args[1]) == 1);
        trace_.injection(e.verb, e.args);
    } else if (e.verb == "end") {
        platform_.stopNow();
    }
}

std::int64_t Replay::run(const Script& script, std::optional<std::int64_t> until) {
    for (const ScriptEvent& e : script.events) {
        platform_.post(e.t, [this, &e] { deliver(e); });
    }
    // An end line stops the run when it is delivered, after the events
    // listed before it at the same time.
    const std::int64_t never = INT64_MAX;
    return resume(until ? *until : (script.end ? never : kDefaultRunMs));
}

std::int64_t Replay::resume(std::int64_t until) {
    const bool endedBefore = platform_.ending();
    const std::int64_t reached = platform_.run(until);
    if (platform_.ending() && !endedBefore) {
        trace_.exited();
    }
    trace_.flush();
    return reached;
}

}  // namespace replay
