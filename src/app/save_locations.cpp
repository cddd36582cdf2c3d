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
    QString folder = this->folder();
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

QString SaveLocations::folder() const {
    return m_lastPath.isEmpty() ? m_folder : QFileInfo(m_lastPath).absolutePath();
}

void SaveLocations::setFolder(const QString& folder) {
    m_folder = folder;
    m_lastPath.clear();
    m_lastStem.clear();
}

} // namespace orvane::app
