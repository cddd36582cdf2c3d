#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orvane::tracer {

// One measured peak: the area of one isotopologue of one metabolite in one sample.
struct Measurement {
    std::string sample;
    std::string metabolite;
    std::string derivative;   // "" for none
    std::string isotopologue; // as written: "3", "2,1", or AccuCor's "C13-label-3"
    double area = 0;
    int line = 0;             // of the file, 1 for the first
    int metaboliteColumn = 0; // the fields, 1 for the first, for errors
    int derivativeColumn = 0; // 0 where the layout has none
    int isotopologueColumn = 0;
    int formulaColumn = 0; // AccuCor's Formula; 0 in IsoCor's layout
    std::string formula;   // AccuCor's Formula column; "" in IsoCor's layout
};

// The measurements of one file, in file order.
struct MeasurementTable {
    std::string fileName;
    bool accuCorLayout = false;       // Compound, Formula, IsotopeLabel, one column per sample
    std::vector<std::string> samples; // in the order they first appear
    std::vector<Measurement> rows;
};

/// Reads IsoCor's measurements layout (TAB-separated, a header naming sample, metabolite,
/// derivative, isotopologue and area in any order; resolution and other columns are not
/// read) or, when the header starts with Compound, AccuCor's (comma-separated unless the
/// header holds a TAB). Raises text::Error naming the file, line and column of a missing
/// column, an area that is not a number or is negative, and an empty metabolite or sample.
MeasurementTable readMeasurements(std::string_view text, const std::string& fileName);

/// readMeasurements of the file at `path`, named by its path.
MeasurementTable readMeasurementFile(const std::string& path);

} // namespace orvane::tracer
