#pragma once

#include <string>
#include <utility>

namespace orvane::text {

// An integer box holds its value as the text it shows. Reading never clamps: a text
// that is not a whole number counts as the minimum, and a typed value outside the
// bounds is used as it stands until the box loses the focus.
class SpinValue {
public:
    SpinValue(int minimum, int maximum, int value);

    /// The shown text read as a whole number, or the minimum when it is not one.
    int value() const;
    /// Sets a value from the program: clamped into the bounds unless they are equal.
    void setValue(long long value);
    /// What the user typed, stored as it stands.
    void setText(std::string text) { m_text = std::move(text); }
    const std::string& text() const { return m_text; }
    /// Leaving the box: a value outside the bounds is set back to the nearer bound.
    void loseFocus();

    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    /// Changing a bound keeps the text; the next program-set value is clamped to it.
    void setMinimum(int minimum) { m_minimum = minimum; }
    void setMaximum(int maximum) { m_maximum = maximum; }

private:
    int m_minimum;
    int m_maximum;
    std::string m_text;
};

} // namespace orvane::text
