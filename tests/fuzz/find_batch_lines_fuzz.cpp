// Formula-finding batch input: split into lines, and every line's rows written in each
// format, as an error, as no candidate and with one candidate.

#include <sstream>

#include "cli/batch_input.h"
#include "cli/find_report.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(orvane::fuzz::textOf(data, size));
    const std::vector<orvane::find::ElementRange> elements{{2, "C", 0, 9}, {1, "H", 0, 9}};
    orvane::find::Candidate candidate;
    candidate.counts = {6, 12};
    candidate.formula = "C6H12";
    for (const orvane::cli::BatchLine& line : orvane::cli::readBatchLines(in)) {
        orvane::cli::FindBatchRow row;
        row.lineNumber = line.lineNumber;
        row.input = line.formula;
        candidate.ion = line.ion.value_or("[M+H]+");
        for (const auto format : {orvane::cli::BatchFormat::Tsv, orvane::cli::BatchFormat::Csv,
                                  orvane::cli::BatchFormat::Json}) {
            row.error.clear();
            orvane::cli::findBatchEmptyRow(row, format);
            std::string rows;
            orvane::cli::appendFindBatchRow(rows, row, orvane::cli::findBatchStart(row, format),
                                            elements, candidate, 0, format);
            row.error = "the target \"" + line.formula + "\" is not an m/z above 0";
            orvane::cli::findBatchRows(row, format, 0);
        }
    }
    return 0;
}
