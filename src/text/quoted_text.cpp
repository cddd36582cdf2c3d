#include "text/quoted_text.h"

#include <cassert>

namespace orvane::text {

namespace {

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string quotedText(std::string_view text) {
    // A message that repeats a pasted page is no help, and a NUL would end it where it stands.
    constexpr std::size_t longest = 200;
    const bool cut = text.size() > longest;
    if (cut) {
        std::size_t end = longest;
        while (end > 0 && isContinuationByte(text[end])) {
            --end; // not inside a UTF-8 sequence
        }
        text = text.substr(0, end);
    }
    std::string result;
    result.reserve(text.size() + 8);
    result.push_back('"');
    for (const char c : text) {
        if (c == '\0') {
            result += "\\0";
        } else {
            result.push_back(c);
        }
    }
    if (cut) {
        result += "…";
    }
    result.push_back('"');
    return result;
}

std::string characterPositionText(std::string_view text, std::size_t offset) {
    assert(offset <= text.size());
    long long position = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        position += isContinuationByte(text[i]) ? 0 : 1;
    }
    return "position " + std::to_string(position);
}

std::string_view characterAt(std::string_view text, std::size_t offset) {
    assert(offset < text.size());
    std::size_t end = offset + 1;
    while (end < text.size() && isContinuationByte(text[end])) {
        ++end;
    }
    return text.substr(offset, end - offset);
}

} // namespace orvane::text
