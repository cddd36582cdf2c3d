#include "cli/batch_table.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::cli {
namespace {

TEST(TableLineWriter, QuotesAsTheLineOfFieldsDoes) {
    const std::vector<std::string> fields{"plain",
                                          "",
                                          "tab\there",
                                          "line\nbreak",
                                          "carriage\rreturn",
                                          "a,comma",
                                          "a \"quote\"",
                                          std::string("nul\0inside", 10),
                                          "C6H12O6"};
    for (const BatchFormat format : {BatchFormat::Tsv, BatchFormat::Csv}) {
        SCOPED_TRACE(format == BatchFormat::Csv ? "csv" : "tsv");
        std::string written = "before\n";
        TableLineWriter line(written, format);
        for (const std::string& field : fields) {
            line.field(field);
        }
        line.end();
        EXPECT_EQ(written, "before\n" + tableLine(fields, format));
    }
    std::string numbers;
    TableLineWriter line(numbers, BatchFormat::Tsv);
    line.number(0.1);
    line.number(180.063388103);
    line.number(-2.5e-300);
    line.end();
    line.field("next");
    line.end();
    EXPECT_EQ(numbers, "0.1\t180.063388103\t-2.5e-300\nnext\n");
}

} // namespace
} // namespace orvane::cli
