#include "app/decimal_separator.h"

#include <QString>

namespace orvane::app {

char decimalSeparator(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > 32 && point.at(0).unicode() < 127) {
        return static_cast<char>(point.at(0).unicode());
    }
    return '.';
}

} // namespace orvane::app
