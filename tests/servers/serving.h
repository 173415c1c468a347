#pragma once

#include <string>

#include "tests/window/x_session.h"

namespace server_test {

// Polls until a server started as `server` takes connections on the Unix
// socket `socketPath`. Throws std::runtime_error, with the server's log at
// `logPath`, if the server ends first or does not serve within 10 s.
void waitUntilServing(window_test::ChildProcess& server, const std::string& name,
                      const std::string& socketPath, const std::string& logPath);

}  // namespace server_test
