#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "export/output_sink.h"

namespace orvane::exporting {

/// Writes what `produce` puts into its sink to `path`, in blocks of 64 KiB, so that memory
/// stays bounded however large the file grows. The bytes go into a temporary file in the
/// target's folder that only gets a name once it is complete and flushed, and is then
/// renamed over `path`: a failed or killed save never leaves a half-written file nor
/// destroys the old one. Where the file system has no unnamed files, the temporary is
/// named ".<name>.orvane-XXXXXX" (<name> cut to keep within NAME_MAX). Every save first
/// removes the stale temporaries of that pattern in the folder: regular files of the
/// saving user, unchanged for 5 minutes and not locked (a writer locks its temporary).
///
/// A symbolic link is written through to the file it names, through chains of links,
/// whether that file exists yet or not. A device or pipe of that name is written into in
/// place, and so is an existing file in a folder that takes no new files (after the
/// in-place consent; a failure then says the old contents are lost). A regular file
/// that no one may write to is refused, whoever saves. Raises text::Error::fromErrno
/// with the error of the step that failed, a write error included; an exception from
/// `produce` is passed on. Either way the temporary is gone.
void writeFileAtomically(const std::string& path, const std::function<void(OutputSink&)>& produce);

// Asked with the file's path before an existing regular file is rewritten in place because
// its folder takes no new files, the one case where a failed save loses the old contents:
// true rewrites it, false leaves it alone and the save raises text::Error.
using InPlaceConsent = std::function<bool(const std::string& path)>;

/// Sets what every later save asks before it rewrites a file in place (a front end sets it
/// once, at its start); without one the file is rewritten. Returns the one it replaces.
InPlaceConsent setInPlaceConsent(InPlaceConsent consent);

/// writeFileAtomically for bytes at hand (a picture, a short text).
void writeFileAtomically(const std::string& path, std::string_view contents);

/// True when `path` names an existing regular file (following links); a directory does not count.
bool isRegularFile(const std::string& path);

} // namespace orvane::exporting
