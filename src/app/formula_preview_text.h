#pragma once

#include <optional>

#include <QString>

#include "ion/formula_preview.h"

namespace orvane::app {

/// What Enter Formula shows under the text: the formula as the table reads it and its FW,
/// then the Hill formula and the monoisotopic mass; or the reason it is refused.
QString formulaPreviewText(const ions::FormulaPreview& preview);

/// The character position (from 1) a refusal names ("… at position 309"), if it names one.
std::optional<int> faultPosition(const std::string& refusal);

} // namespace orvane::app
