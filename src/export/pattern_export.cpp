#include "export/pattern_export.h"

#include "export/pattern_layouts.h"
#include "export/protected_files.h"
#include "export/safe_file_writer.h"

namespace orvane::exporting {

bool savePattern(const std::string& path, Layout layout, const calc::PatternState& pattern,
                 double formulaWeight, long long first, long long last, text::Notifier& notifier) {
    // A data file is refused before the overwrite notice could suggest it will be replaced.
    protectedFiles().refuse(path);
    if (isRegularFile(path) && !notifier.confirm(fileExistsNotice)) {
        return false;
    }
    // the special layout grows with the square of the span: it goes out as it is made
    writeFileAtomically(path, [&](OutputSink& out) {
        if (layout == Layout::Normal) {
            writeNormalLayout(out, pattern, formulaWeight, first, last);
        } else {
            writeSpecialLayout(out, pattern, formulaWeight, first, last);
        }
    });
    return true;
}

} // namespace orvane::exporting
