#pragma once

#include <string>

namespace orvane::session {

// Every text the main window shows that the chain writes, as the last command left it.
// Editable fields also keep what the user typed until the chain writes them again.
struct ViewTexts {
    std::string formulaText;                  // Formula
    std::string weightText;                   // Weight; typed text is kept, nothing reads it
    std::string averageMzText;                // fw1
    std::string lowerMzText = "0.0";          // Edit1, read by Apply
    std::string upperMzText = "1.0";          // Edit2, read by Apply
    std::string lowerIntensityText;           // Edit3
    std::string upperIntensityText;           // Edit4
    std::string msRangeLowerText = "Edit5";   // Edit5, N0 - 2W once an atom step ran
    std::string msRangeUpperText = "Edit6";   // Edit6, N0 + 2W
    std::string thresholdPercentText = "0.1"; // Edit7, the label threshold in percent
};

// The fields of ViewTexts that the user can type into.
enum class EditableText {
    Weight,
    LowerMz,
    UpperMz,
    LowerIntensity,
    UpperIntensity,
    MsRangeLower,
    MsRangeUpper,
    ThresholdPercent,
};

} // namespace orvane::session
