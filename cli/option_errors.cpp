// Unknown options and missing values, found in what the parser left over and
// in what each option received.
#include "cli/option_errors.h"

#include "calc/wire_gauge.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"
#include "nec/model_limits.h"
#include "report/file_output.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <numeric>
#include <optional>
#include <string_view>
#include <vector>

namespace tarvix {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// "--freq" -> "freq", "-h" -> "h".
std::string_view bareName(std::string_view option) {
    return option.substr(std::min(option.find_first_not_of('-'), option.size()));
}

std::size_t editDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), 0);
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// Every name the parser accepts, long ones as "--name", short ones as "-n",
// in the order the options were added.
std::vector<std::string> optionNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_lnames()) {
            names.push_back("--" + name);
        }
    }
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& name : option->get_snames()) {
            names.push_back("-" + name);
        }
    }
    return names;
}

// "-20" and "-.5" are negative numbers, not options.
bool looksLikeOption(std::string_view word) {
    return word.size() > 1 && word[0] == '-' &&
           !(std::isdigit(static_cast<unsigned char>(word[1])) || word[1] == '.');
}

std::string alternatives(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        text += i == 0 ? "" : i + 1 == names.size() ? " or " : ", ";
        text += names[i];
    }
    return text;
}

// The options most like the one typed: the one that differs only in case,
// else those that begin with or contain the typed name, else the nearest by
// edit distance when it is near enough. Empty when none is.
std::vector<std::string> nearestOptions(std::string_view typed,
                                        const std::vector<std::string>& options) {
    const std::string wanted = lowered(bareName(typed));
    if (wanted.empty()) {
        return {};
    }
    for (const std::string& option : options) {
        if (lowered(bareName(option)) == wanted) {
            return {option};
        }
    }
    std::vector<std::string> beginning;
    std::vector<std::string> containing;
    for (const std::string& option : options) {
        const std::string name = lowered(bareName(option));
        if (name.rfind(wanted, 0) == 0) {
            beginning.push_back(option);
        } else if (wanted.size() > 1 && name.find(wanted) != std::string::npos) {
            containing.push_back(option);
        }
    }
    if (!beginning.empty()) {
        return beginning;
    }
    if (!containing.empty()) {
        return containing;
    }
    // Near enough: a third of the letters may be wrong, and at least one.
    const std::string* nearest = nullptr;
    std::size_t nearestDistance = std::max<std::size_t>(1, wanted.size() / 3) + 1;
    for (const std::string& option : options) {
        const std::size_t distance = editDistance(wanted, lowered(bareName(option)));
        if (distance < nearestDistance) {
            nearest = &option;
            nearestDistance = distance;
        }
    }
    if (nearest == nullptr) {
        return {};
    }
    return {*nearest};
}

std::optional<std::string> unknownOptionText(const CLI::App& app) {
    for (const std::string& word : app.remaining()) {
        if (!looksLikeOption(word)) {
            continue;
        }
        const std::string typed = word.substr(0, word.find('='));
        std::string text = "unknown option " + quotedArgument(typed);
        if (const auto names = nearestOptions(typed, optionNames(app)); !names.empty()) {
            text += "; did you mean " + alternatives(names) + "?";
        }
        return text;
    }
    return std::nullopt;
}

} // namespace

void rejectOptionsTakenAsValues(const CLI::App& app) {
    for (const CLI::Option* option : app.get_options()) {
        for (const std::string& value : option->results()) {
            if (value.rfind("--", 0) == 0 && value.size() > 2) {
                throw UsageError(option->get_name() + " needs a value");
            }
        }
    }
}

// The parser's own words for a count that does not fit ("--freq: At Most 1
// required but received 2", "--height: 1 required TEXT missing") said as the
// rest of the program says it.
std::optional<std::string> countText(const CLI::App& app, const CLI::ParseError& error) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_items_expected_max() > 0 && option->count() > 1) {
            return option->get_name() + " given twice";
        }
    }
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error) == nullptr) {
        return std::nullopt;
    }
    // The parser names the option whose value ran out before its message.
    const std::string_view text = error.what();
    for (const CLI::Option* option : app.get_options()) {
        const std::string name = option->get_name();
        if (text.rfind(name + ":", 0) == 0) {
            return name + " needs a value";
        }
    }
    return std::nullopt;
}

std::string parseErrorText(const CLI::App& app, const CLI::ParseError& error) {
    if (auto text = unknownOptionText(app)) {
        return *text;
    }
    try {
        rejectOptionsTakenAsValues(app);
    } catch (const UsageError& missingValue) {
        return missingValue.what();
    }
    if (auto text = countText(app, error)) {
        return *text;
    }
    return error.what();
}

void rejectSharedOutputs(const Request& request) {
    struct Output {
        std::string name; // as a message names it
        std::string path; // "-": standard output
    };
    std::vector<Output> outputs;
    bool reportReplaced = false;
    for (const auto& [option, path] :
         {std::pair{"--nec", request.necPath}, std::pair{"--plot", request.plotPath},
          std::pair{"--sheet", request.sheetPath}}) {
        if (path) {
            outputs.push_back({std::string(option) + (*path == "-" ? " -" : ""), *path});
            reportReplaced = reportReplaced || *path == "-";
        }
    }
    // JSON is never replaced: "-" beside it is refused here.
    if (request.format == OutputFormat::Json || !reportReplaced) {
        outputs.push_back({request.format == OutputFormat::Json ? "--json" : "the report", "-"});
    }
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (std::size_t j = i + 1; j < outputs.size(); ++j) {
            if (sameOutput(outputs[i].path, outputs[j].path)) {
                throw UsageError(outputs[i].name + " and " + outputs[j].name + " both write to " +
                                 (outputs[j].path == "-" || outputs[i].path == "-"
                                      ? "standard output"
                                      : quotedArgument(outputs[j].path)));
            }
        }
    }
}

} // namespace tarvix
