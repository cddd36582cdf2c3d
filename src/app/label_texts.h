#pragma once

#include <QString>

#include <string>

#include "session/session_state.h"

namespace orvane::app {

/// The labels of one element-table column as the formula writes them ("[13C]6,
/// [13C]{99%}2"); "" when it has none.
std::string labelsOfColumn(const session::SessionState& state, int column);

/// The Formula box's tooltip: how to enter a formula, then each label with its purity and
/// the share of the weight it carries.
QString formulaToolTip(const session::SessionState& state);

} // namespace orvane::app
