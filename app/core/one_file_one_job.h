#pragma once

#include <string>
#include <vector>

namespace core {

// A file a program reads or writes, as its command line named it: the
// option ("--trace", "the script") and the path, or a standard stream
// ("-" for the script, "" for a trace on standard output) by its
// descriptor.
struct NamedFile {
    std::string option;
    std::string path;
    int standardStream = -1;
};

// Throws UsageError naming the first two of `files` that are one file: the
// same path, or the same file through another name, a hard link or a
// symbolic link. Only files that a job could spoil count: regular files,
// and paths that name nothing yet (they would be created); devices, pipes
// and terminals may well serve two.
void refuseOneFileForTwoJobs(const std::vector<NamedFile>& files);

}  // namespace core
