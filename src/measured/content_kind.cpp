#include "measured/content_kind.h"

#include <algorithm>

namespace orvane::measured {

namespace {

bool isXmlBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool looksBinary(std::string_view head) {
    std::size_t controls = 0;
    for (const char c : head) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0) {
            return true;
        }
        // TAB, LF, VT, FF, CR and the old end-of-file mark 0x1A turn up in text files
        if ((byte < 32 && !(byte >= 9 && byte <= 13) && byte != 0x1A) || byte == 127) {
            ++controls;
        }
    }
    return controls * 100 > head.size();
}

bool isCompressed(std::string_view head) {
    return head.starts_with("\x1f\x8b") || head.starts_with("BZh") ||
           head.starts_with("\xfd"
                            "7zXZ") ||
           head.starts_with("PK\x03\x04");
}

// The root element's name without a namespace prefix, or empty when the head ends before it.
std::string_view rootElement(std::string_view xml) {
    std::size_t at = 0;
    for (;;) {
        while (at < xml.size() && isXmlBlank(xml[at])) {
            ++at;
        }
        if (at >= xml.size() || xml[at] != '<') {
            return {};
        }
        const std::string_view rest = xml.substr(at);
        std::string_view close;
        if (rest.starts_with("<?")) {
            close = "?>";
        } else if (rest.starts_with("<!--")) {
            close = "-->";
        } else if (rest.starts_with("<!")) {
            close = ">";
        } else {
            std::size_t nameEnd = 1;
            while (nameEnd < rest.size() && !isXmlBlank(rest[nameEnd]) && rest[nameEnd] != '>' &&
                   rest[nameEnd] != '/') {
                ++nameEnd;
            }
            std::string_view name = rest.substr(1, nameEnd - 1);
            const std::size_t colon = name.find(':');
            if (colon != std::string_view::npos) {
                name.remove_prefix(colon + 1);
            }
            return name;
        }
        const std::size_t end = rest.find(close);
        if (end == std::string_view::npos) {
            return {};
        }
        at += end + close.size();
    }
}

} // namespace

ContentKind detectContent(std::string_view head) {
    if (head.empty()) {
        return ContentKind::Empty;
    }
    if (isCompressed(head)) {
        return ContentKind::Compressed;
    }
    if (looksBinary(head)) {
        return ContentKind::Binary;
    }
    std::string_view text = head;
    if (text.starts_with("\xef\xbb\xbf")) {
        text.remove_prefix(3);
    }
    const auto first = std::find_if_not(text.begin(), text.end(), isXmlBlank);
    if (first == text.end() || *first != '<') {
        return ContentKind::Text;
    }
    const std::string_view root = rootElement(text);
    if (root == "mzML" || root == "indexedmzML") {
        return ContentKind::MzML;
    }
    if (root == "mzXML") {
        return ContentKind::MzXML;
    }
    return ContentKind::OtherXml;
}

} // namespace orvane::measured
