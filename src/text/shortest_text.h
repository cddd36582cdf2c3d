#pragma once

#include <string>

namespace orvane::text {

/// The shortest text that reads back as exactly `value` ("0.1", "180.06338810300001" becomes
/// "180.063388103"), with "." as the point; "inf", "-inf" and "nan" for the others. For
/// reports, profiles and batches, where a program reads the numbers back.
std::string shortestText(double value);

/// shortestText(value) added to the end of `out`, without a string of its own.
void appendShortest(std::string& out, double value);

} // namespace orvane::text
