#include "app/plain_file_icon_provider.h"

#include <QFileInfo>

namespace orvane::app {

QIcon PlainFileIconProvider::icon(IconType type) const {
    return QAbstractFileIconProvider::icon(type);
}

QIcon PlainFileIconProvider::icon(const QFileInfo& info) const {
    return QAbstractFileIconProvider::icon(info.isDir() ? Folder : File);
}

QString PlainFileIconProvider::type(const QFileInfo& info) const {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

} // namespace orvane::app
