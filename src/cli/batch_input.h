#pragma once

#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace orvane::cli {

// One formula of a batch, with the line it came from.
struct BatchLine {
    std::size_t lineNumber = 0; // from 1
    std::string formula;
    std::optional<std::string> ion; // after a TAB; the --ion or the default otherwise
};

// Hands out the formulas of a batch one at a time, as they come, so that only the lines
// being calculated are held.
class BatchLineReader {
public:
    explicit BatchLineReader(std::istream& in) : m_in(in) {}
    /// The next formula, skipping what readBatchLines skips; nothing at the end of the input
    /// (or at a read error: the stream tells).
    std::optional<BatchLine> next();

private:
    std::istream& m_in;
    std::size_t m_number = 0;
};

/// "a directory, not a file" when the batch input (a path, or "-": standard input) is a
/// directory; "" otherwise, also when it does not exist (opening it tells why).
std::string batchInputProblem(const std::string& path);

/// The formulas of a batch: one a line, optionally followed by a TAB and an ion; blank lines
/// and lines starting with "#" are skipped; a CR before the line end is dropped.
std::vector<BatchLine> readBatchLines(std::istream& in);

} // namespace orvane::cli
