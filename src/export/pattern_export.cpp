#include "export/pattern_export.h"

#include "export/pattern_layouts.h"
#include "export/safe_file_writer.h"

namespace orvane::exporting {

bool savePattern(const std::string& path, Layout layout, const calc::PatternState& pattern,
                 double formulaWeight, int s, text::Notifier& notifier) {
    if (isRegularFile(path) && !notifier.confirm(fileExistsNotice)) {
        return false;
    }
    const std::string contents = layout == Layout::Normal
                                     ? normalLayout(pattern, formulaWeight, s)
                                     : specialLayout(pattern, formulaWeight, s);
    writeFileAtomically(path, contents);
    return true;
}

} // namespace orvane::exporting
