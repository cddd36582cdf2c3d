#include "cli/batch_table.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

#include "cli/json_report.h"
#include "text/shortest_text.h"

namespace orvane::cli {
namespace {

const char* const columns[] = {
    "line", "input",          "formula",        "fw",   "mz", "n0", "centroid", "monoisotopicMass",
    "ion",  "monoisotopicMz", "mostAbundantMz", "error"};

// A NUL read from the input is shown, as the messages show it, rather than written out.
std::string withVisibleNul(const std::string& field) {
    if (field.find('\0') == std::string::npos) {
        return field;
    }
    std::string shown;
    for (const char c : field) {
        shown += c == '\0' ? std::string("\\0") : std::string(1, c);
    }
    return shown;
}

std::string tsvField(const std::string& text) {
    std::string field = withVisibleNul(text);
    for (char& c : field) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return field;
}

std::string csvField(const std::string& text) {
    const std::string field = withVisibleNul(text);
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (char c : field) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string joined(const std::vector<std::string>& fields, BatchFormat format) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) {
            line += format == BatchFormat::Csv ? ',' : '\t';
        }
        line += format == BatchFormat::Csv ? csvField(fields[i]) : tsvField(fields[i]);
    }
    return line + '\n';
}

} // namespace

std::string tableLine(const std::vector<std::string>& fields, BatchFormat format) {
    return joined(fields, format);
}

void TableLineWriter::separate() {
    if (!m_first) {
        m_out += m_format == BatchFormat::Csv ? ',' : '\t';
    }
    m_first = false;
}

void TableLineWriter::field(std::string_view text) {
    separate();
    // most fields need nothing done: formulas, ions, numbers
    static constexpr auto special = [] {
        std::array<bool, 256> table{};
        for (const unsigned char c : {'\t', '\n', '\r', ',', '"', '\0'}) {
            table[c] = true;
        }
        return table;
    }();
    const bool plain = std::none_of(text.begin(), text.end(),
                                    [](char c) { return special[static_cast<unsigned char>(c)]; });
    if (plain) {
        m_out += text;
    } else {
        const std::string whole(text);
        m_out += m_format == BatchFormat::Csv ? csvField(whole) : tsvField(whole);
    }
}

void TableLineWriter::number(double value) {
    separate();
    text::appendShortest(m_out, value);
}

void TableLineWriter::whole(long long value) {
    separate();
    char digits[24];
    const char* const end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_out.append(digits, static_cast<std::size_t>(end - digits));
}

void TableLineWriter::written(std::string_view fields) {
    separate();
    m_out += fields;
}

void TableLineWriter::end() {
    m_out += '\n';
    m_first = true;
}

std::string batchHeader(BatchFormat format) {
    if (format == BatchFormat::Json) {
        return {};
    }
    return joined(std::vector<std::string>(std::begin(columns), std::end(columns)), format);
}

std::string batchRowText(const BatchRow& row, BatchFormat format) {
    if (format == BatchFormat::Json) {
        if (row.failed()) {
            return jsonErrorRow({row.line.lineNumber, row.line.formula}, row.error) + '\n';
        }
        return row.json + '\n';
    }
    std::string line;
    TableLineWriter writer(line, format);
    writer.whole(static_cast<long long>(row.line.lineNumber));
    writer.field(row.line.formula);
    if (row.failed()) {
        // every column of a result empty, the message in the last
        for (std::size_t empty = 2; empty + 1 < std::size(columns); ++empty) {
            writer.field("");
        }
        writer.field(row.error);
        writer.end();
        return line;
    }
    writer.field(row.formula);
    writer.field(row.weightText);
    writer.field(row.averageMzText);
    writer.whole(row.n0);
    writer.number(row.centroid);
    if (row.accurate) {
        writer.number(row.accurate->monoisotopicMass);
        writer.field(row.accurate->ion);
        writer.number(row.accurate->monoisotopicMz);
        writer.number(row.accurate->mostAbundantMz);
    } else {
        for (int empty = 0; empty < 4; ++empty) {
            writer.field("");
        }
    }
    writer.field("");
    writer.end();
    return line;
}

} // namespace orvane::cli
