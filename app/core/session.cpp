#include "app/core/session.h"

#include <algorithm>
#include <span>

#include "game/about.h"
#include "game/module_variables.h"
#include "platform/form.h"

namespace core {

namespace {

std::int16_t indexIn(std::string_view name, std::span<const std::string_view> names) {
    return static_cast<std::int16_t>(std::find(names.begin(), names.end(), name) - names.begin());
}

ScriptEvent playerEvent(Verb verb, std::int16_t arg) {
    ScriptEvent e;
    e.verb = verb;
    e.args[0] = arg;
    return e;
}

}  // namespace

Session::Session(platform::Platform& platform, TraceWriter::Sink sink)
    : platform_(platform), trace_(std::move(sink)) {
    watchers_.trace = &trace_;
    gulpo_ = std::make_unique<game::FrmGulpo>(platform_, &watchers_);
    trace_.watch(*gulpo_, platform_);
}

Session::~Session() {
    platform_.onInput = nullptr;
}

void Session::load() {
    gulpo_->load();
}

void Session::deliver(const ScriptEvent& e, std::string_view written) {
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
            if (kScriptButtons[a[0]] == "start") {
                g.frmGulpo.click(g.cmdStart);
            } else if (kScriptButtons[a[0]] == "about") {
                g.frmGulpo.click(g.cmdAbout);
            } else if (aboutShown) {
                about->frmAbout.click(about->cmdClose);
            }
            break;
        case Verb::closewin:
            if (kScriptWindows[a[0]] == "main") {
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
            game::place(g.sprite(kScriptSprites[a[0]]), static_cast<float>(a[1]),
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
        trace_.injection(verbName(e.verb), written);
    }
}

void Session::play(const Script& script) {
    script_ = &script;
    postFrom(0);
}

void Session::postFrom(std::size_t index) {
    // Only the next event waits on the platform's queue, so a long script
    // costs no more than its compact event list; each event queues the one
    // after it before it runs, so a handler's Wait still finds it due.
    if (index >= script_->events.size()) {
        return;
    }
    platform_.post(script_->events[index].t, [this, index] {
        undelivered_ = index + 1;
        postFrom(index + 1);
        const ScriptEvent& e = script_->events[index];
        deliver(e, script_->written(e));
    });
}

void Session::takePlayerInput(std::function<void(const ScriptEvent&)> taken) {
    platform_.onInput = [this, taken = std::move(taken)](const platform::Input& input,
                                                         std::int64_t at) {
        std::optional<ScriptEvent> e = scriptEventOf(input);
        if (!e) {
            return;
        }
        e->t = static_cast<std::int32_t>(std::min<std::int64_t>(at, INT32_MAX));
        if (taken) {
            taken(*e);
        }
        platform_.post(e->t, [this, e = *e] { deliver(e); });
    };
}

std::int64_t Session::run(std::int64_t until) {
    const bool endedBefore = platform_.ending();
    const std::int64_t reached = platform_.run(until);
    if (platform_.ending() && !endedBefore) {
        trace_.exited();
    }
    trace_.flush();
    return reached;
}

Session::CutOff Session::cutOff() const {
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

std::optional<ScriptEvent> scriptEventOf(const platform::Input& input) {
    const bool inAbout = input.form == "frmAbout";
    switch (input.kind) {
        case platform::Input::Kind::key:
            if (!inAbout) {
                return playerEvent(Verb::key, static_cast<std::int16_t>(input.code));
            }
            // Close is the About window's only button, and always holds its
            // focus: Enter and Space press it, other keys do nothing there.
            if (input.code == platform::keys::kEnter || input.code == platform::keys::kSpace) {
                return playerEvent(Verb::click, indexIn("close", kScriptButtons));
            }
            return std::nullopt;
        case platform::Input::Kind::accessKey:
            return playerEvent(Verb::alt, static_cast<std::int16_t>(input.code));
        case platform::Input::Kind::click:
            if (input.button == "cmdStart") {
                return playerEvent(Verb::click, indexIn("start", kScriptButtons));
            }
            if (input.button == "cmdAbout") {
                return playerEvent(Verb::click, indexIn("about", kScriptButtons));
            }
            return playerEvent(Verb::click, indexIn("close", kScriptButtons));
        case platform::Input::Kind::frameClose:
            return playerEvent(Verb::closewin, indexIn(inAbout ? "about" : "main", kScriptWindows));
    }
    return std::nullopt;
}

std::string scriptLineOf(const ScriptEvent& e) {
    std::string line = std::to_string(e.t) + " " + std::string(verbName(e.verb));
    switch (e.verb) {
        case Verb::key:
            return line + " " + std::to_string(e.args[0]);
        case Verb::alt:
            return line + " " + static_cast<char>(e.args[0]);
        case Verb::click:
            return line + " " + std::string(kScriptButtons[e.args[0]]);
        case Verb::closewin:
            return line + " " + std::string(kScriptWindows[e.args[0]]);
        default:
            return line;
    }
}

}  // namespace core
