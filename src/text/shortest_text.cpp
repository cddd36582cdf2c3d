#include "text/shortest_text.h"

#include <charconv>

namespace orvane::text {

std::string shortestText(double value) {
    char buffer[32]; // the longest shortest form of a double has 24 characters
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void appendShortest(std::string& out, double value) {
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

} // namespace orvane::text
