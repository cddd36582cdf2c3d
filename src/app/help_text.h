#pragma once

#include <QString>

namespace orvane::app {

/// F1's short help: the keys of the windows and the formula grammar with examples.
QString helpText();

} // namespace orvane::app
