#include "calc/cell_readings.h"

#include "text/number_parse.h"
#include "text/number_text.h"

#include <cassert>

namespace orvane::calc {

CellReadings::Reading& CellReadings::slot(std::size_t key) {
    if (key >= m_readings.size()) {
        m_readings.resize(key + 1);
    }
    return m_readings[key];
}

double CellReadings::readReal(std::size_t key, std::string_view text, char separator) {
    Reading& reading = slot(key);
    // a text that is no number raises its error at every reading
    reading.kind = Kind::None;
    reading.general.clear();
    reading.value = text::parseReal(text, separator);
    reading.text.assign(text);
    reading.separator = separator;
    reading.kind = Kind::Real;
    return reading.value;
}

int CellReadings::readInteger(std::size_t key, std::string_view text) {
    Reading& reading = slot(key);
    reading.kind = Kind::None;
    reading.value = text::parseInteger(text);
    reading.text.assign(text);
    reading.kind = Kind::Integer;
    return static_cast<int>(reading.value);
}

const std::string& CellReadings::generalText(std::size_t key) {
    Reading& reading = slot(key);
    assert(reading.kind == Kind::Real);
    if (reading.general.empty()) {
        reading.general = text::generalText(reading.value, reading.separator);
    }
    return reading.general;
}

} // namespace orvane::calc
