// The reader of nec2c's listings: the feed point and power budget of each
// solution, and the engine's first error line.
#include "nec/listing_reader.h"

#include "calc/number_parse.h"
#include "calc/number_text.h"
#include "nec/nec_engine.h"

#include <array>
#include <fstream>
#include <istream>
#include <limits>
#include <sstream>

namespace tarvix {

namespace nec_detail {

namespace {

// Listing lines are some 130 characters; anything past this is never read.
constexpr std::size_t kLineRoom = 1024;
// An engine's message or a folder's name quoted in an error is cut here.
constexpr std::size_t kQuotedRoom = 200;

// The number after the first ':' or '=' of a listing line.
double valueAfterMark(std::string_view line) {
    const auto mark = line.find_first_of(":=");
    double value = 0;
    if (mark != std::string_view::npos) {
        line.remove_prefix(mark + 1);
        readNumber(line, value);
    }
    return value;
}

bool contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

std::string trimmed(std::string_view line) {
    return std::string(trim(line, " \t\r"));
}

// The rows of "ANTENNA INPUT PARAMETERS" after its heading: two header
// lines, then a row per source: tag, segment, voltage, current, impedance
// (real, imaginary), ...; a blank line ends them. The first source's
// impedance is the feed point's. False when no row was read.
bool readSources(std::istream& lines, FeedPoint& point) {
    std::string row;
    nextLine(lines, row);
    nextLine(lines, row);
    point.sources.clear();
    bool haveImpedance = false;
    while (nextLine(lines, row)) {
        std::string_view fields(row);
        NecSource source;
        double vr = 0, vi = 0, ir = 0, ii = 0, r = 0, x = 0;
        if (!(readNumber(fields, source.tag) && readNumber(fields, source.segment) &&
              readNumber(fields, vr) && readNumber(fields, vi) && readNumber(fields, ir) &&
              readNumber(fields, ii) && readNumber(fields, r) && readNumber(fields, x))) {
            break;
        }
        if (!haveImpedance) {
            point.resistanceOhm = r;
            point.reactanceOhm = x;
            haveImpedance = true;
        }
        if (point.sources.size() < kMostSourcesRead) {
            source.voltage = {vr, vi};
            source.current = {ir, ii};
            point.sources.push_back(source);
        }
    }
    return haveImpedance;
}

} // namespace

bool nextLine(std::istream& in, std::string& line) {
    std::array<char, kLineRoom + 1> buffer;
    in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (in.gcount() == 0 && in.fail()) {
        return false;
    }
    line.assign(buffer.data());
    if (in.fail() && !in.eof()) {
        // The line is longer than the room: its rest is skipped.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return true;
}

std::string cut(std::string text) {
    if (text.size() > kQuotedRoom) {
        text.resize(kQuotedRoom);
        text += "...";
    }
    return text;
}

std::string_view skipBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string firstErrorLine(const std::filesystem::path& messages,
                           const std::filesystem::path& listing) {
    std::ifstream said(messages, std::ios::binary);
    std::ifstream listed(listing, std::ios::binary);
    return tarvix::firstErrorLine(said, listed);
}

} // namespace nec_detail

std::string firstErrorLine(std::istream& messages, std::istream& listing) {
    using namespace nec_detail;
    for (std::string line; nextLine(messages, line);) {
        if (std::string text = trimmed(line); !text.empty()) {
            return cut(std::move(text));
        }
    }
    for (std::string line; nextLine(listing, line);) {
        if (contains(line, "ERROR")) {
            return cut(trimmed(line));
        }
    }
    return {};
}

std::vector<FeedPoint> readNecOutput(std::istream& lines) {
    using namespace nec_detail;
    std::vector<FeedPoint> points;
    FeedPoint point;
    bool haveImpedance = false;
    for (std::string line; nextLine(lines, line);) {
        if (contains(line, "FREQUENCY :")) {
            point = FeedPoint{};
            point.freqMHz = valueAfterMark(line);
            haveImpedance = false;
        } else if (contains(line, "ANTENNA INPUT PARAMETERS")) {
            haveImpedance = readSources(lines, point);
        } else if (contains(line, "INPUT POWER")) {
            point.inputPowerW = valueAfterMark(line);
        } else if (contains(line, "RADIATED POWER")) {
            point.radiatedPowerW = valueAfterMark(line);
        } else if (contains(line, "EFFICIENCY") && haveImpedance) {
            // The last line of the power budget.
            points.push_back(point);
            haveImpedance = false;
        }
    }
    return points;
}

std::vector<FeedPoint> readNecOutput(const std::string& listing) {
    std::istringstream lines(listing);
    return readNecOutput(lines);
}

std::vector<FeedPoint> engineAnswer(const std::string& program, int exitCode,
                                    std::istream& messages, std::istream& listing) {
    const std::string error = firstErrorLine(messages, listing);
    if (!error.empty()) {
        throw NecEngineError(program + " failed: " + error);
    }
    if (exitCode != 0) {
        throw NecEngineError(program + " failed with status " +
                             numberText(static_cast<double>(exitCode)));
    }
    listing.clear();
    listing.seekg(0);
    std::vector<FeedPoint> points = readNecOutput(listing);
    if (points.empty()) {
        throw NecEngineError(program + " printed no feed-point impedance");
    }
    return points;
}

} // namespace tarvix
