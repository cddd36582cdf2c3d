#pragma once

#include <string>

#include "calc/pattern_state.h"
#include "text/notifier.h"

namespace orvane::exporting {

inline constexpr const char* fileExistsNotice = "The file already exists!!!!";

enum class Layout { Normal, Special };

/// SaveNormalClick / SaveSpecialClick after the dialog: when a regular file of that
/// name exists, asks with "The file already exists!!!!" (OK replaces, Cancel keeps it
/// and writes nothing); then writes the layout of the indices first .. last atomically,
/// as it is made. Returns false when cancelled. Raises text::Error for input/output
/// failures.
bool savePattern(const std::string& path, Layout layout, const calc::PatternState& pattern,
                 double formulaWeight, long long first, long long last, text::Notifier& notifier);

} // namespace orvane::exporting
