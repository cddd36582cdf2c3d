#include "app/plain_file_icon_provider.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace orvane::app {

namespace {

// The style's own picture of a kind of place: without an icon theme the provider's icons are
// empty, and the dialog warns of a null pixmap at every opening.
QIcon styleIcon(QAbstractFileIconProvider::IconType type) {
    QStyle::StandardPixmap pixmap = QStyle::SP_FileIcon;
    switch (type) {
    case QAbstractFileIconProvider::Computer:
        pixmap = QStyle::SP_ComputerIcon;
        break;
    case QAbstractFileIconProvider::Desktop:
        pixmap = QStyle::SP_DesktopIcon;
        break;
    case QAbstractFileIconProvider::Trashcan:
        pixmap = QStyle::SP_TrashIcon;
        break;
    case QAbstractFileIconProvider::Network:
        pixmap = QStyle::SP_DriveNetIcon;
        break;
    case QAbstractFileIconProvider::Drive:
        pixmap = QStyle::SP_DriveHDIcon;
        break;
    case QAbstractFileIconProvider::Folder:
        pixmap = QStyle::SP_DirIcon;
        break;
    case QAbstractFileIconProvider::File:
        break;
    }
    return QApplication::style()->standardIcon(pixmap);
}

} // namespace

QIcon PlainFileIconProvider::icon(IconType type) const {
    const QIcon themed = QAbstractFileIconProvider::icon(type);
    return themed.isNull() ? styleIcon(type) : themed;
}

QIcon PlainFileIconProvider::icon(const QFileInfo& info) const {
    // by the kind of place alone: the contents of a file are never read for its picture
    return icon(info.isDir() ? Folder : File);
}

QString PlainFileIconProvider::type(const QFileInfo& info) const {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

} // namespace orvane::app
