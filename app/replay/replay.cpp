#include "app/replay/replay.h"

#include "game/about.h"
#include "game/module_variables.h"

namespace replay {

Replay::Replay(TraceWriter::Sink sink) : trace_(std::move(sink)) {
    gulpo_ = std::make_unique<game::FrmGulpo>(platform_, &trace_);
    trace_.watch(*gulpo_, platform_);
    gulpo_->load();
}

void Replay::deliver(const ScriptEvent& e) {
    game::FrmGulpo& g = *gulpo_;
    game::FrmAbout* about = g.frmAbout();
    const bool aboutShown = about != nullptr && about->frmAbout.Visible();
    const auto& a = e.args;
    switch (e.verb) {
        case Verb::key:
            g.frmGulpo.keyDown(a[0]);
            break;
        case Verb::alt:
            if (!g.frmGulpo.accessKey(static_cast<char>(a[0])) && aboutShown) {
                about->frmAbout.accessKey(static_cast<char>(a[0]));
            }
            break;
        case Verb::click:
            if (kButtons[a[0]] == "start") {
                g.frmGulpo.click(g.cmdStart);
            } else if (kButtons[a[0]] == "about") {
                g.frmGulpo.click(g.cmdAbout);
            } else if (aboutShown) {
                about->frmAbout.click(about->cmdClose);
            }
            break;
        case Verb::closewin:
            if (kWindows[a[0]] == "main") {
                g.frmGulpo.frameClose();
            } else if (about != nullptr) {
                about->frmAbout.frameClose();
                trace_.aboutDestroyed();
            }
            break;
        case Verb::set:
            g.*(game::kModuleVariables[a[0]].member) = a[1];
            break;
        case Verb::place:
            game::place(g.sprite(kSprites[a[0]]), static_cast<float>(a[1]),
                        static_cast<float>(a[2]));
            break;
        case Verb::food:
            g.shpFood(a[0]).setVisible(a[1] == 1);
            break;
        case Verb::big:
            g.shpBig(a[0]).setVisible(a[1] == 1);
            break;
        case Verb::end:
            endDelivered_ = true;
            platform_.stopNow();
    }
    if (isInjection(e.verb)) {
        trace_.injection(verbName(e.verb), script_->written(e));
    }
}

void Replay::postFrom(std::size_t index) {
    // Only the next event waits on the platform's queue, so a long script
    // costs no more than its compact event list; each event queues the one
    // after it before it runs, so a handler's Wait still finds it due.
    if (index >= script_->events.size()) {
        return;
    }
    platform_.post(script_->events[index].t, [this, index] {
        undelivered_ = index + 1;
        postFrom(index + 1);
        deliver(script_->events[index]);
    });
}

std::int64_t Replay::run(const Script& script, std::optional<std::int64_t> until) {
    script_ = &script;
    postFrom(0);
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

Replay::CutOff Replay::cutOff() const {
    CutOff cut;
    if (script_ == nullptr || endDelivered_ || platform_.ending()) {
        return cut;
    }
    for (std::size_t i = undelivered_; i < script_->events.size(); ++i) {
        if (script_->events[i].verb == Verb::end) {
            continue;
        }
        if (cut.first == nullptr) {
            cut.first = &script_->events[i];
        }
        ++cut.events;
    }
    return cut;
}

}  // namespace replay
