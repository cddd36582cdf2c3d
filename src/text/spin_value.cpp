#include "text/spin_value.h"

#include <optional>

#include "text/number_parse.h"

namespace orvane::text {

SpinValue::SpinValue(int minimum, int maximum, int value) : m_minimum(minimum), m_maximum(maximum) {
    setValue(value);
}

int SpinValue::value() const {
    return tryParseInteger(m_text).value_or(m_minimum);
}

void SpinValue::setValue(long long value) {
    if (m_minimum != m_maximum) {
        if (value < m_minimum) {
            value = m_minimum;
        } else if (value > m_maximum) {
            value = m_maximum;
        }
    }
    m_text = std::to_string(value);
}

void SpinValue::loseFocus() {
    // a text that is no whole number stays as typed: it already reads as the minimum
    const std::optional<int> typed = tryParseInteger(m_text);
    if (!typed || m_minimum == m_maximum) {
        return;
    }
    if (*typed < m_minimum) {
        setValue(m_minimum);
    } else if (*typed > m_maximum) {
        setValue(m_maximum);
    }
}

} // namespace orvane::text
