#pragma once

#include "text/spin_value.h"

namespace orvane::session {

// The display settings of the main window's boxes: the values the plot stages read.
struct DisplaySettings {
    text::SpinValue charge{1, 100, 1};     // SpinEdit1
    text::SpinValue threshold{0, 1000, 1}; // SpinEdit2, tenths of a percent
    bool showPeakPositions = true;         // CheckBox1
    bool manualRange = false;              // CheckBox2, on only while Apply runs
};

} // namespace orvane::session
