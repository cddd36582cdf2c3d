#pragma once

#include <string>

#include "text/spin_value.h"

namespace orvane::plot {

// The main window's display controls as the core sees them: the values the plot stage
// reads and the texts it writes. The Qt layer binds its widgets to these.
struct DisplayControls {
    text::SpinValue charge{1, 100, 1};     // SpinEdit1
    text::SpinValue threshold{0, 1000, 1}; // SpinEdit2, tenths of a percent
    bool showPeakPositions = true;         // CheckBox1
    bool manualRange = false;              // CheckBox2, on only inside Apply
    std::string edit1 = "0.0";             // lower m/z bound, editable
    std::string edit2 = "1.0";             // upper m/z bound, editable
    std::string edit3;                     // lower intensity limit
    std::string edit4;                     // upper intensity limit
    std::string edit7 = "0.1";             // threshold in percent
};

} // namespace orvane::plot
