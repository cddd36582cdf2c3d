#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/batch_row.h"
#include "cli/command_options.h"

namespace orvane::cli {

/// The header line of the batch table (none for JSON).
std::string batchHeader(BatchFormat format);

/// One row of the batch table, ending in a newline: line, input, formula, fw, mz, n0,
/// centroid, monoisotopicMass, ion, monoisotopicMz, mostAbundantMz, error. TSV replaces TABs
/// and line breaks inside a field by blanks; CSV quotes fields as RFC 4180 does; JSON
/// writes the object of --json with "line" and "input" (and "error" instead for a failed
/// line) on one line.
std::string batchRowText(const BatchRow& row, BatchFormat format);

/// The fields as one line of a TSV or CSV table, quoted as batchRowText quotes them.
std::string tableLine(const std::vector<std::string>& fields, BatchFormat format);

// Writes one TSV or CSV line field by field at the end of a text, quoted as tableLine
// quotes them, for tables of many lines.
class TableLineWriter {
public:
    TableLineWriter(std::string& out, BatchFormat format) : m_out(out), m_format(format) {}
    /// A field of text.
    void field(std::string_view text);
    /// A number in its shortest exact form.
    void number(double value);
    /// A whole number.
    void whole(long long value);
    /// Fields already written by a writer of the same format (without their line end),
    /// as they stand: the start that many lines share.
    void written(std::string_view fields);
    /// Ends the line.
    void end();

private:
    void separate();
    std::string& m_out;
    BatchFormat m_format;
    bool m_first = true;
};

} // namespace orvane::cli
