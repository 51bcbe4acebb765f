// Writing a file so that it is either replaced whole or left as it was, and
// telling whether two outputs of one run would land in the same file.
#pragma once

#include <string>
#include <string_view>

namespace tarvix {

// Writes the contents to a new file beside the path and renames it over the
// path, so that a reader never sees half a file and a failed write keeps the
// old one. A link is followed to the file it names, which is replaced the same
// way; the link stays. A new file gets the usual permissions (0666 less the
// umask), a replaced one keeps its own and, where the caller may give it, its
// owner. A file the caller may not write is refused as the shell refuses it
// (Permission denied), although its folder would let it be replaced. A
// device or a pipe is written in place. Throws std::system_error naming the
// path.
void replaceFile(const std::string& path, std::string_view contents);

// Whether two outputs land in one place: the same file (by device and inode
// where both exist, else by their paths made absolute and normal), or both on
// standard output, "-" standing for it. The null device takes any number of
// outputs and is never shared.
bool sameOutput(const std::string& first, const std::string& second);

} // namespace tarvix
