#pragma once

#include <cstddef>
#include <string_view>

namespace orvane::measured {

// What a file holds, told from its first bytes (the name's extension is not trusted).
enum class ContentKind { Empty, Binary, Compressed, MzML, MzXML, OtherXml, Text };

/// How many leading bytes detectContent looks at.
inline constexpr std::size_t contentHeadSize = 64 * 1024;

/// The kind of content whose first bytes are `head`: XML by its root element (mzML,
/// indexedmzML or mzXML, after the declaration, comments and a doctype), compressed by the
/// gzip, bzip2, xz or zip signature, binary when it holds a NUL byte or more than one control
/// byte in a hundred, text otherwise.
ContentKind detectContent(std::string_view head);

} // namespace orvane::measured
