#pragma once

namespace core {

// Opens /dev/null on each of standard input, output and error that the
// program was started without, first thing: a file opened later would
// otherwise take descriptor 0, 1 or 2, and a recording on descriptor 2
// would take in every message meant for the terminal.
void openClosedStandardStreams();

// Whether descriptor `fd` (0, 1 or 2) was closed when the program started:
// what is written to it is lost.
bool closedAtStart(int fd);

}  // namespace core
