// What a user is told when the command line cannot be read. The options are
// taken from the parser itself, so an option added later is known here
// without being listed again.
#pragma once

#include <string>

namespace CLI {
class App;
class ParseError;
} // namespace CLI

namespace tarvix {

struct Request;

// The text for a parse error, naming the first problem a user would fix
// first: an option that does not exist (with the nearest real ones), then an
// option whose value is missing, and only then what the parser found.
std::string parseErrorText(const CLI::App& app, const CLI::ParseError& error);

// Throws UsageError for an option that took the next option as its value, as
// in "--freq --length 60".
void rejectOptionsTakenAsValues(const CLI::App& app);

// Throws UsageError when two outputs would land in one file, or both on
// standard output: the deck, the picture, the build sheet, and the report (on standard output
// unless "--nec -" or "--plot -" takes its place).
void rejectSharedOutputs(const Request& request);

} // namespace tarvix
