#include "text/shortest_text.h"

#include <charconv>
#include <cmath>

namespace orvane::text {

std::string shortestText(double value) {
    char buffer[32]; // the longest shortest form of a double has 24 characters
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void appendShortest(std::string& out, double value) {
    char buffer[32];
    // whole and half numbers (RDBE, counts) are common in tables and cheap to write; their
    // shortest form is the digits, with ".5" for a half
    const double twice = value * 2;
    if (std::fabs(value) < 1e15 && twice == std::trunc(twice) &&
        !(value == 0 && std::signbit(value))) {
        const long long halves = static_cast<long long>(twice);
        char* at = buffer;
        if (halves < 0) {
            *at++ = '-';
        }
        const long long magnitude = halves < 0 ? -halves : halves;
        at = std::to_chars(at, buffer + sizeof buffer, magnitude / 2).ptr;
        if (magnitude % 2 != 0) {
            *at++ = '.';
            *at++ = '5';
        }
        out.append(buffer, static_cast<std::size_t>(at - buffer));
        return;
    }
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

} // namespace orvane::text
