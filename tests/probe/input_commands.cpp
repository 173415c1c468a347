#include "tests/probe/input_commands.h"

#include <unistd.h>

#include <QKeySequence>
#include <QTest>
#include <QWindow>
#include <cstdio>

namespace probe {

InputCommands::InputCommands(int fd, std::function<QWindow*()> mainWindow)
    : fd_(fd), mainWindow_(std::move(mainWindow)), notifier_(fd, QSocketNotifier::Read) {
    QObject::connect(&notifier_, &QSocketNotifier::activated, this, [this] { readAvailable(); });
}

void InputCommands::readAvailable() {
    char buffer[256];
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n <= 0) {
        notifier_.setEnabled(false);
        return;
    }
    pending_.append(buffer, static_cast<qsizetype>(n));
    for (qsizetype end = pending_.indexOf('\n'); end >= 0; end = pending_.indexOf('\n')) {
        const QByteArray line = pending_.left(end).trimmed();
        pending_.remove(0, end + 1);
        run(line);
    }
}

void InputCommands::run(const QByteArray& line) {
    QWindow* window = mainWindow_();
    if (window == nullptr || line.isEmpty()) {
        return;
    }
    if (line == "close") {
        // The same path as the compositor's close request.
        window->close();
        return;
    }
    if (line.startsWith("key ")) {
        const QKeySequence keys(QString::fromUtf8(line.mid(4)));
        if (keys.isEmpty()) {
            std::fprintf(stderr, "probe: no key named in '%s'\n", line.constData());
            return;
        }
        const QKeyCombination key = keys[0];
        QTest::keyClick(window, key.key(), key.keyboardModifiers());
        return;
    }
    std::fprintf(stderr, "probe: unknown command '%s'\n", line.constData());
}

}  // namespace probe
