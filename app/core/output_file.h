#pragma once

#include <string>
#include <string_view>

namespace core {

// Where the trace or the summary goes: a named file, or standard output
// when the name is empty. Every write and the close are checked; after the
// first failure nothing more is written, and finish() says what went wrong.
// A named regular file whose writing failed is removed, so that no partial
// trace is ever left looking complete.
class OutputFile {
  public:
    // `what` names the contents in messages ("the trace").
    OutputFile(std::string path, std::string what);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False once opening or a write has failed.
    bool good() const { return error_.empty(); }
    void write(std::string_view bytes);
    // Closes the file. Returns "" when everything was written, else the
    // message: the file, what failed, the system's reason and what became
    // of the output.
    std::string finish();

  private:
    void failed(std::string_view doing, int error);

    std::string path_;
    std::string shownName_;
    std::string what_;
    int fd_ = -1;
    bool opened_ = false;
    bool regularFile_ = false;
    std::string error_;
};

}  // namespace core
