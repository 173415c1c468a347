#include "platform/qt/display_gone.h"

#include <QString>
#include <QtGlobal>
#include <array>

namespace platform {

namespace {

QtMessageHandler qtsOwn = nullptr;
void (*displayGone)() = nullptr;

// How Qt 6's platform plugins say their display server went away.
constexpr std::array<const char*, 3> kConnectionBroke = {
    "The X11 connection broke", "The Wayland connection broke",
    "The Wayland connection experienced a fatal error"};

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && displayGone != nullptr) {
        for (const char* broke : kConnectionBroke) {
            if (message.startsWith(QLatin1String(broke))) {
                displayGone();
            }
        }
    }
    qtsOwn(type, context, message);
}

}  // namespace

void whenTheDisplayGoes(void (*then)()) {
    displayGone = then;
    if (qtsOwn == nullptr) {
        qtsOwn = qInstallMessageHandler(onMessage);
    }
}

}  // namespace platform
