#include "measured/peak_list.h"

#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "text/byte_size_text.h"
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

PeakListReader::PeakListReader(std::string fileName, std::size_t searchBytes, std::size_t maxPoints)
    : m_fileName(std::move(fileName)), m_searchBytes(searchBytes), m_maxPoints(maxPoints) {}

void PeakListReader::read(std::string_view bytes) {
    while (!bytes.empty()) {
        if (m_afterCr) {
            m_afterCr = false;
            if (bytes.front() == '\n') {
                bytes.remove_prefix(1);
                ++m_consumed;
                continue;
            }
        }
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            m_pending.append(bytes);
            refuseEarly();
            return;
        }
        std::string_view line = bytes.substr(0, end);
        if (!m_pending.empty()) {
            m_pending.append(line);
            line = m_pending;
        }
        m_consumed += line.size() + 1;
        m_afterCr = bytes[end] == '\r';
        bytes.remove_prefix(end + 1);
        readLine(line);
        m_pending.clear();
        refuseEarly();
    }
}

void PeakListReader::refuseEarly() const {
    // a line begun within the first bytes may end after them
    if (m_spectrum.size() == 0 &&
        (m_consumed >= m_searchBytes || m_pending.size() > m_searchBytes)) {
        throw text::Error(m_fileName +
                          ": no line holds two numbers (m/z and intensity) in the "
                          "first " +
                          text::byteSizeText(m_searchBytes) + "; not a peak list");
    }
    if (m_pending.size() > m_searchBytes) {
        throw text::Error(m_fileName + ", line " + std::to_string(m_lineNumber + 1) +
                          ": longer than " + text::byteSizeText(m_searchBytes) +
                          "; a line holds two numbers");
    }
}

Spectrum PeakListReader::finish() {
    if (!m_pending.empty()) {
        const std::string last = std::move(m_pending);
        m_pending.clear();
        readLine(last);
    }
    if (m_spectrum.size() == 0) {
        throw text::Error(m_fileName + ": no line holds two numbers (m/z and intensity)");
    }
    sortByMz(m_spectrum);
    return std::move(m_spectrum);
}

void PeakListReader::readLine(std::string_view line) {
    ++m_lineNumber;
    if (m_lineNumber == 1 && line.starts_with("\xef\xbb\xbf")) {
        line.remove_prefix(3); // the UTF-8 mark some editors write would hide the first number
    }
    const std::string_view content = text::trimBlanks(line);
    if (content.empty() || content.front() == '#') {
        return;
    }
    const SplitLine split = splitFields(content);
    const LineError error(m_fileName, m_lineNumber);
    const std::optional<double> mz =
        split.fields.empty() ? std::nullopt : readNumber(split.fields[0], split.decimalComma);
    const std::optional<double> intensity =
        split.fields.size() < 2 ? std::nullopt : readNumber(split.fields[1], split.decimalComma);
    if (!mz || !intensity) {
        if (m_spectrum.size() == 0) {
            return; // a header line
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
    if (m_spectrum.size() == m_maxPoints) {
        throw error("more than " + std::to_string(m_maxPoints) +
                    " points; a spectrum holds at most that many");
    }
    m_spectrum.mz.push_back(*mz);
    m_spectrum.intensity.push_back(*intensity);
}

Spectrum parsePeakList(std::string_view text, const std::string& fileName) {
    PeakListReader reader(fileName, std::string_view::npos);
    reader.read(text);
    return reader.finish();
}

} // namespace orvane::measured
