#pragma once

#include <string>
#include <string_view>

namespace desktop {

// A game's inputs written down as a replay script while it is played: a
// comment line saying what wrote it and when, then a line for each input,
// each written to the file the moment it is taken, so that a crash or a
// kill leaves a recording valid up to its last input.
class Recording {
  public:
    // Creates the file (or empties it) and writes the first line.
    explicit Recording(std::string path);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    // "" while the file is being written; else what went wrong, naming it.
    const std::string& error() const { return error_; }
    const std::string& path() const { return path_; }

    // Appends an input's whole line. The first failure is said on standard
    // error and the game plays on, unrecorded from there.
    void take(std::string_view line);

  private:
    bool put(std::string_view line);

    std::string path_;
    int fd_ = -1;
    std::string error_;
};

}  // namespace desktop
