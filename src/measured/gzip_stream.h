#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace orvane::measured {

/// True when the bytes begin as gzip data does.
bool isGzip(std::string_view head);

/// Inflates gzip data (concatenated members too) read block by block from `read` (which
/// returns "" at the end), handing each inflated block to `write`. Raises text::Error
/// naming `fileName` for data that is not gzip or is cut short, and when more than
/// `limit` bytes come out.
void inflateGzip(const std::function<std::string()>& read,
                 const std::function<void(std::string_view)>& write, const std::string& fileName,
                 std::size_t limit);

} // namespace orvane::measured
