#pragma once

#include <QAbstractFileIconProvider>

namespace orvane::app {

// Icons and type names for the file dialog from the file's kind alone. The default provider
// tells types by reading the start of every file, and a pseudo-file such as /proc/kmsg
// blocks that read for ever, so a dialog opened in such a folder would hang.
class PlainFileIconProvider : public QAbstractFileIconProvider {
public:
    QIcon icon(IconType type) const override;
    QIcon icon(const QFileInfo& info) const override;
    QString type(const QFileInfo& info) const override;
};

} // namespace orvane::app
