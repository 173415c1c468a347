#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace core {

// A file a program writes as it runs (the trace, the summary, the
// recording, the timings), or standard output when the name is empty, with
// one policy for every failure. First check() finds, changing nothing,
// whether it can be written; open() empties it or creates it, once the
// program is sure to run. Every write and the close are checked. At the
// first failure nothing more is written, onLost is told at once, and the
// file is dealt with so that it never looks whole when it is not: a file
// of lines (a recording) is cut back to its last whole line and kept,
// valid as far as it goes; any other regular file is removed.
class OutputFile {
  public:
    enum class Kind {
        // Removed when incomplete: a trace, a summary, timings.
        whole,
        // Written a whole line at a time, each line in one write, and kept
        // up to its last whole line: a recording.
        lines,
    };

    // `what` names the contents in messages ("the trace").
    OutputFile(std::string path, std::string what, Kind kind = Kind::whole);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // "" when the file can be written; else the message. Changes nothing:
    // an existing file is opened without being emptied, and a new one's
    // folder is checked.
    std::string check();
    // Empties or creates the checked file. False when that fails (the
    // message in error()). From here until finish() a signal that cuts the
    // program short removes the file, or keeps a file of lines.
    bool open();

    // False once opening or a write has failed.
    bool good() const { return error_.empty(); }
    // Writes bytes; for a file of lines, `bytes` is one or more whole lines.
    void write(std::string_view bytes);
    // Closes the file; false when anything failed, which onLost was told.
    bool finish();

    // What went wrong, with what became of the file; "" while all is well.
    const std::string& error() const { return error_; }
    // "the trace stopped: No space left on device", for the player.
    std::string stopped() const;

    // Told once, at the moment a write or the close fails, with the message.
    std::function<void(const std::string& message)> onLost;

  private:
    std::string cannot(std::string_view doing, int error) const;
    void lost(std::string_view doing, int error);

    std::string path_;
    std::string shownName_;
    std::string what_;
    Kind kind_;
    int fd_ = -1;
    bool opened_ = false;
    bool regularFile_ = false;
    // The bytes of whole lines in a file of lines.
    long long whole_ = 0;
    std::string reason_;
    std::string error_;
};

}  // namespace core
