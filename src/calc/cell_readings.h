#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace orvane::calc {

// Cell texts read as numbers, remembered per cell. Every run reads all weight, count and
// isotope cells again, and almost none has changed since the last run; reading is a
// function of the text (and the separator) alone, so a text read before gives the value
// it gave then, and only new texts are read.
class CellReadings {
public:
    /// a == b, written out: cell texts are a few characters long, too short for memcmp
    /// to pay off.
    static bool sameText(std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (std::size_t k = 0; k < a.size(); ++k) {
            if (a[k] != b[k]) {
                return false;
            }
        }
        return true;
    }

    /// text::parseReal(text, separator) for the cell `key`.
    double real(std::size_t key, std::string_view text, char separator) {
        if (key < m_readings.size()) {
            const Reading& reading = m_readings[key];
            if (reading.kind == Kind::Real && reading.separator == separator &&
                sameText(reading.text, text)) {
                return reading.value;
            }
        }
        return readReal(key, text, separator);
    }
    /// text::parseInteger(text) for the cell `key`.
    int integer(std::size_t key, std::string_view text) {
        if (key < m_readings.size()) {
            const Reading& reading = m_readings[key];
            if (reading.kind == Kind::Integer && sameText(reading.text, text)) {
                return static_cast<int>(reading.value);
            }
        }
        return readInteger(key, text);
    }
    /// The general text of the value the cell `key` gave at its last reading as a real.
    const std::string& generalText(std::size_t key);

private:
    enum class Kind : char { None, Real, Integer };
    struct Reading {
        std::string text;
        Kind kind = Kind::None;
        char separator = 0;
        double value = 0;
        std::string general; // made when first asked for
    };
    Reading& slot(std::size_t key);
    double readReal(std::size_t key, std::string_view text, char separator);
    int readInteger(std::size_t key, std::string_view text);

    std::vector<Reading> m_readings;
};

} // namespace orvane::calc
