#pragma once

#include <optional>
#include <string>

namespace desktop {

// A stepped game's line-by-line talk with its test over two named
// pipes: commands in, one reply line per command out.
class CommandPipe {
  public:
    // Opens both pipes; the test holds the replies pipe open for reading
    // before it starts the program. Throws std::runtime_error on failure.
    CommandPipe(const std::string& commandsPath, const std::string& repliesPath);
    CommandPipe(const CommandPipe&) = delete;
    CommandPipe& operator=(const CommandPipe&) = delete;
    ~CommandPipe();

    int commandsFd() const { return commands_; }

    // The next whole command line, if one has arrived (never blocks).
    std::optional<std::string> nextLine();
    // True once the test has closed its end.
    bool closed() const { return closed_; }

    void reply(const std::string& line);

  private:
    // Reads what has arrived; false once the writer has gone.
    bool fill();

    int commands_ = -1;
    int replies_ = -1;
    std::string pending_;
    bool closed_ = false;
};

}  // namespace desktop
