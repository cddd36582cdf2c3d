#include "measured/peak_list.h"

#include <cmath>
#include <optional>
#include <vector>

#include "text/error.h"
#include "text/number_parse.h"
#include "text/trim.h"

namespace orvane::measured {

namespace {

// as text::trimBlanks counts them
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

struct SplitLine {
    std::vector<std::string_view> fields;
    bool decimalComma = false; // split at TAB or ';', so a ',' may be the decimal point
};

SplitLine splitFields(std::string_view line) {
    SplitLine split;
    char separator = 0;
    for (const char candidate : {'\t', ';', ','}) {
        if (line.find(candidate) != std::string_view::npos) {
            separator = candidate;
            break;
        }
    }
    if (separator == 0) {
        std::size_t at = 0;
        for (;;) {
            while (at < line.size() && isBlank(line[at])) {
                ++at;
            }
            if (at >= line.size()) {
                return split;
            }
            std::size_t end = at;
            while (end < line.size() && !isBlank(line[end])) {
                ++end;
            }
            split.fields.push_back(line.substr(at, end - at));
            at = end;
        }
    }
    split.decimalComma = separator != ',';
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = line.find(separator, start);
        split.fields.push_back(text::trimBlanks(line.substr(start, end - start)));
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    while (!split.fields.empty() && split.fields.back().empty()) {
        split.fields.pop_back();
    }
    return split;
}

std::optional<double> readNumber(std::string_view field, bool decimalComma) {
    if (field.empty()) {
        return std::nullopt;
    }
    std::optional<double> value = text::tryParseReal(field, '.');
    if (!value && decimalComma) {
        value = text::tryParseReal(field, ',');
    }
    if (value && !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

class LineError {
public:
    LineError(const std::string& fileName, int line) : m_fileName(fileName), m_line(line) {}
    text::Error operator()(const std::string& what) const {
        return text::Error(m_fileName + ", line " + std::to_string(m_line) + ": " + what);
    }

private:
    const std::string& m_fileName;
    int m_line;
};

std::string quoted(std::string_view field) {
    std::string out = "'";
    out.append(field);
    out.push_back('\'');
    return out;
}

} // namespace

Spectrum parsePeakList(std::string_view text, const std::string& fileName) {
    if (text.starts_with("\xef\xbb\xbf")) {
        text.remove_prefix(3); // the UTF-8 mark some editors write would hide the first number
    }
    Spectrum spectrum;
    int lineNumber = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        const std::string_view line =
            text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        ++lineNumber;
        if (end == std::string_view::npos) {
            at = text.size();
        } else {
            at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        }

        const std::string_view content = text::trimBlanks(line);
        if (content.empty() || content.front() == '#') {
            continue;
        }
        const SplitLine split = splitFields(content);
        const LineError error(fileName, lineNumber);
        const std::optional<double> mz =
            split.fields.empty() ? std::nullopt : readNumber(split.fields[0], split.decimalComma);
        const std::optional<double> intensity =
            split.fields.size() < 2 ? std::nullopt
                                    : readNumber(split.fields[1], split.decimalComma);
        if (!mz || !intensity) {
            if (spectrum.size() == 0) {
                continue; // a header line
            }
            if (!mz) {
                throw error(quoted(split.fields[0]) + " is not a number");
            }
            if (split.fields.size() < 2) {
                throw error("the intensity is missing after the m/z");
            }
            throw error(quoted(split.fields[1]) + " is not a number");
        }
        if (split.fields.size() > 2) {
            throw error("a third field " + quoted(split.fields[2]) +
                        "; a line holds two: m/z and intensity");
        }
        if (!(*mz > 0)) {
            throw error("the m/z " + quoted(split.fields[0]) + " is not above 0");
        }
        if (*intensity < 0) {
            throw error("the intensity " + quoted(split.fields[1]) + " is negative");
        }
        spectrum.mz.push_back(*mz);
        spectrum.intensity.push_back(*intensity);
    }
    if (spectrum.size() == 0) {
        throw text::Error(fileName + ": no line holds two numbers (m/z and intensity)");
    }
    sortByMz(spectrum);
    return spectrum;
}

} // namespace orvane::measured
