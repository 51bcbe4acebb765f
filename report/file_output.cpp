// replaceFile with POSIX calls: mkstemp in the target's folder, so that the
// rename stays within one file system, and the temporary file removed again
// whatever fails. sameOutput with stat.
#include "report/file_output.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/types.h>
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

// Devices and pipes (/dev/null, /dev/stdout, a named pipe) are written where
// they lead: renaming over them would replace the device node itself.
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

// The path that the links along the way lead to; the path itself when it is
// no link. As the system does, gives up after 40 links.
std::string followLinks(const std::string& path) {
    constexpr int kMaxLinks = 40;
    std::string place = path;
    for (int links = 0; links < kMaxLinks; ++links) {
        struct stat info {};
        if (lstat(place.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return place;
        }
        std::string target(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = readlink(place.c_str(), target.data(), target.size());
        if (length < 0) {
            fail(errno, path);
        }
        target.resize(static_cast<std::size_t>(length));
        place = target.front() == '/'
                    ? target
                    : (std::filesystem::path(place).parent_path() / target).string();
    }
    fail(ELOOP, path);
}

} // namespace

void replaceFile(const std::string& path, std::string_view contents) {
    struct stat opened {};
    const bool opens = stat(path.c_str(), &opened) == 0;
    // "adir/", "." or a folder by any name: the shell's own words for it.
    if ((opens && S_ISDIR(opened.st_mode)) || (!opens && errno != ENOTDIR && path.ends_with('/'))) {
        fail(EISDIR, path);
    }
    if (opens && !S_ISREG(opened.st_mode)) {
        writeInPlace(path, contents);
        return;
    }
    const std::string place = followLinks(path);
    struct stat existing {};
    const bool exists = stat(place.c_str(), &existing) == 0;
    // A link whose text does not lead where the system opens it (/dev/stdout
    // through /proc/self/fd/1 onto a file) is written where it leads.
    if (opens &&
        !(exists && existing.st_dev == opened.st_dev && existing.st_ino == opened.st_ino)) {
        writeInPlace(path, contents);
        return;
    }
    // The folder's permission would let the rename replace a file that the
    // caller may not write; the file's own permission decides, as for
    // "echo > file".
    if (exists && faccessat(AT_FDCWD, place.c_str(), W_OK, AT_EACCESS) != 0) {
        fail(errno, path);
    }
    const std::filesystem::path target(place);
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
        // The replacement keeps the file's owner where the caller may give it
        // away (root), else its group where the caller is in it; otherwise it
        // becomes the caller's, as a file an editor saves does. Before the
        // mode, which a change of owner would clear of its set-id bits.
        if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid()) &&
            fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            [[maybe_unused]] const int groupOnly =
                fchown(fd, static_cast<uid_t>(-1), existing.st_gid);
        }
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
    if (close(fd) != 0 || std::rename(temporary.c_str(), place.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        fail(error, path);
    }
}

namespace {

// Where an output lands: its file's device and inode when it exists, else its
// path made absolute and normal.
struct OutputPlace {
    bool exists = false;
    struct stat info {};
    std::string normalPath;
};

OutputPlace outputPlace(const std::string& output) {
    OutputPlace place;
    if (output == "-") {
        place.exists = fstat(STDOUT_FILENO, &place.info) == 0;
        place.normalPath = output;
        return place;
    }
    place.exists = stat(output.c_str(), &place.info) == 0;
    // Absolute first: the canonical part of a relative name is only what of
    // it exists.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(output, error);
    std::filesystem::path normal = std::filesystem::weakly_canonical(absolute, error);
    place.normalPath = (error ? absolute : normal).lexically_normal().string();
    return place;
}

bool isNullDevice(const OutputPlace& place) {
    struct stat null {};
    return place.exists && S_ISCHR(place.info.st_mode) && stat("/dev/null", &null) == 0 &&
           place.info.st_rdev == null.st_rdev;
}

} // namespace

bool sameOutput(const std::string& first, const std::string& second) {
    if (first == "-" && second == "-") {
        return true;
    }
    const OutputPlace a = outputPlace(first);
    const OutputPlace b = outputPlace(second);
    if (isNullDevice(a) || isNullDevice(b)) {
        return false;
    }
    if (a.exists && b.exists) {
        return a.info.st_dev == b.info.st_dev && a.info.st_ino == b.info.st_ino;
    }
    return !a.exists && !b.exists && a.normalPath == b.normalPath;
}

} // namespace tarvix
