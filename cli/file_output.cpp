// replaceFile with POSIX calls: mkstemp in the target's folder, so that the
// rename stays within one file system, and the temporary file removed again
// whatever fails.
#include "cli/file_output.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarvix {

namespace {

[[noreturn]] void fail(int error, const std::string& path) {
    throw std::system_error(error, std::generic_category(), "cannot write " + path);
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

void writeAll(int fd, std::string_view contents) {
    while (!contents.empty()) {
        const ssize_t written = write(fd, contents.data(), contents.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category());
        }
        contents.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Devices, pipes and links (/dev/null, /dev/stdout, a link to a deck kept
// elsewhere) are written where they lead, as before: renaming over them
// would replace the link or the device node itself.
void writeInPlace(const std::string& path, std::string_view contents) {
    const int fd = open(path.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0) {
        fail(errno, path);
    }
    try {
        writeAll(fd, contents);
    } catch (const std::system_error& error) {
        close(fd);
        fail(error.code().value(), path);
    }
    if (close(fd) != 0) {
        fail(errno, path);
    }
}

} // namespace

void replaceFile(const std::string& path, std::string_view contents) {
    struct stat existing {};
    const bool exists = lstat(path.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        writeInPlace(path, contents);
        return;
    }
    const std::filesystem::path target(path);
    // Hidden, and named after the file it becomes; joined piece by piece, as
    // "." + name draws a false overlap warning from GCC 12 in optimised builds.
    std::string hiddenName = ".";
    hiddenName += target.filename().string();
    hiddenName += ".XXXXXX";
    std::string temporary = (target.parent_path() / hiddenName).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        fail(errno, path);
    }
    const mode_t mode = exists ? existing.st_mode & 07777 : newFileMode();
    try {
        if (fchmod(fd, mode) != 0) {
            throw std::system_error(errno, std::generic_category());
        }
        writeAll(fd, contents);
        if (fsync(fd) != 0) {
            throw std::system_error(errno, std::generic_category());
        }
    } catch (const std::system_error& error) {
        close(fd);
        unlink(temporary.c_str());
        fail(error.code().value(), path);
    }
    if (close(fd) != 0 || std::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        fail(error, path);
    }
}

} // namespace tarvix
