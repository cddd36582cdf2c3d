// Batch input: split into lines, and every line's failure row written in each format.

#include <sstream>

#include "cli/batch_input.h"
#include "cli/batch_row.h"
#include "cli/batch_table.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(orvane::fuzz::textOf(data, size));
    for (const orvane::cli::BatchLine& line : orvane::cli::readBatchLines(in)) {
        orvane::cli::BatchRow row;
        row.line = line;
        row.error = "Formula \"" + line.formula + "\": refused.";
        for (const auto format : {orvane::cli::BatchFormat::Tsv, orvane::cli::BatchFormat::Csv,
                                  orvane::cli::BatchFormat::Json}) {
            orvane::cli::batchRowText(row, format);
        }
    }
    return 0;
}
