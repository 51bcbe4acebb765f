// Writing a file so that it is either replaced whole or left as it was.
#pragma once

#include <string>
#include <string_view>

namespace tarvix {

// Writes the contents to a new file beside the path and renames it over the
// path, so that a reader never sees half a file and a failed write keeps the
// old one. A new file gets the usual permissions (0666 less the umask), a
// replaced one keeps its own. A path that is a link, a device or a pipe is
// written in place. Throws std::system_error naming the path.
void replaceFile(const std::string& path, std::string_view contents);

} // namespace tarvix
