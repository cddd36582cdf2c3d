#pragma once

#include <QLocale>

namespace orvane::app {

/// The locale's decimal separator as the core takes it: a single ASCII character, or
/// '.' when the locale's separator is anything else.
char decimalSeparator(const QLocale& locale);

} // namespace orvane::app
