#include "app/save_locations.h"

#include <QDir>
#include <QFileInfo>

namespace orvane::app {

namespace {

bool sameFolder(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString SaveLocations::propose(const QString& stem, const QString& suffix,
                               const QString& dataFolder) const {
    QString folder = m_lastPath.isEmpty() ? QString() : QFileInfo(m_lastPath).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || sameFolder(folder, dataFolder)) {
        folder = QDir::homePath();
    }
    if (!m_lastPath.isEmpty() && stem == m_lastStem &&
        !sameFolder(QFileInfo(m_lastPath).absolutePath(), dataFolder)) {
        return m_lastPath;
    }
    return QDir(folder).filePath(stem + QLatin1Char('.') + suffix);
}

void SaveLocations::chosen(const QString& path, const QString& stem) {
    m_lastPath = path;
    m_lastStem = stem;
}

} // namespace orvane::app
