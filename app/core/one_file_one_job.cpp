#include "app/core/one_file_one_job.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>

#include "app/core/shown_text.h"
#include "app/core/usage_error.h"

namespace core {

namespace {

namespace fs = std::filesystem;

// What a named file is, for telling whether two are one: an existing
// file's device and inode, or where a path that names nothing yet would
// create one.
struct Identity {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    fs::path toBe;

    bool operator==(const Identity&) const = default;
};

// Where a dangling symbolic link (or a chain of them) would create its file.
fs::path linkTarget(fs::path path) {
    std::error_code e;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, e)); ++hops) {
        const fs::path target = fs::read_symlink(path, e);
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return fs::weakly_canonical(fs::absolute(path, e), e);
}

// Nothing for a file no job can spoil.
std::optional<Identity> identityOf(const NamedFile& f) {
    struct stat info {};
    const int found =
        f.standardStream >= 0 ? ::fstat(f.standardStream, &info) : ::stat(f.path.c_str(), &info);
    if (found == 0) {
        if (!S_ISREG(info.st_mode)) {
            return std::nullopt;
        }
        return Identity{true, info.st_dev, info.st_ino, {}};
    }
    if (f.standardStream >= 0) {
        return std::nullopt;
    }
    return Identity{false, 0, 0, linkTarget(f.path)};
}

std::string shown(const NamedFile& f) {
    if (f.standardStream >= 0) {
        return f.option + (f.standardStream == 0 ? " on standard input" : " on standard output");
    }
    return f.option + " " + core::singleQuoted(f.path);
}

}  // namespace

void refuseOneFileForTwoJobs(const std::vector<NamedFile>& files) {
    std::vector<std::pair<const NamedFile*, Identity>> seen;
    for (const NamedFile& f : files) {
        if (f.standardStream < 0 && f.path.empty()) {
            continue;
        }
        const std::optional<Identity> id = identityOf(f);
        if (!id) {
            continue;
        }
        for (const auto& [other, otherId] : seen) {
            if (otherId == *id) {
                throw UsageError(shown(*other) + " and " + shown(f) +
                                 " are one file; give each a file of its own");
            }
        }
        seen.emplace_back(&f, *id);
    }
}

}  // namespace core
