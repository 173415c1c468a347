#pragma once

#include <string>

namespace core {

// What a program does when SIGINT, SIGTERM, SIGHUP or SIGPIPE cuts it short:
// it removes the regular files named here, whose contents would otherwise
// look complete though they are not, says so on standard error, and ends
// with the signal's own status. SIGXFSZ is ignored: a write past the file
// size limit fails as on a full disk.
void endCutShortOnSignals(const char* program);

// Ends the program the same way for another cause (the display server went
// away): the same message, with `cause` for the signal's name, and `status`.
[[noreturn]] void endCutShort(const char* cause, int status);
// Until exitsAsPlanned(), a call to exit() ends the program so, with
// `cause` and `status`: the toolkit calls it when the display server goes
// away in the middle of a game.
void cutShortOnExit(const char* cause, int status);
void exitsAsPlanned();

// A file being written whose end has not come yet; `what` names it in the
// message ("the trace"). Only a regular file is removed; for anything else
// (standard output, a pipe) the message says it is incomplete.
void removeIfCutShort(const std::string& path, const char* what);
// A file that is written to its end: a signal now leaves it be.
void completed(const std::string& path);
// A file that a signal leaves as it stands, which the message names (a
// recording, valid up to its last line).
void keptIfCutShort(const std::string& path, const char* what);

}  // namespace core
