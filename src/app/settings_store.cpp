#include "app/settings_store.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>

#include <sys/stat.h>

namespace orvane::app {

namespace {

constexpr int formulasKept = 50;

// Why the settings file cannot be used: a pipe would hold the start until someone writes
// to it, and writing through a link to a device (/dev/null) would put a file in its place.
// Empty for a regular file or none yet.
QString unusableFile(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || S_ISREG(status.st_mode)) {
        return {};
    }
    return QStringLiteral("The settings file %1 is not a regular file; Orvane starts with its "
                          "defaults and leaves it as it is.")
        .arg(path);
}

QString defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/orvane/orvane.ini");
}

} // namespace

SettingsStore::SettingsStore(QString path) : m_path(path.isEmpty() ? defaultPath() : path) {}

QString SettingsStore::path() const {
    return m_path;
}

RememberedSettings SettingsStore::read(QString* problem) const {
    RememberedSettings settings;
    if (const QString unusable = unusableFile(m_path); !unusable.isEmpty()) {
        if (problem != nullptr) {
            *problem = unusable;
        }
        return settings;
    }
    const QSettings file(m_path, QSettings::IniFormat);
    if (file.status() != QSettings::NoError) {
        if (problem != nullptr) {
            *problem = QStringLiteral("The settings file %1 could not be read and is ignored.")
                           .arg(m_path);
        }
        return settings;
    }
    // Values of the wrong type (an edited file) read as empty: nothing is taken from them.
    settings.formulas = file.value(QStringLiteral("formula/history")).toStringList();
    while (settings.formulas.size() > formulasKept) {
        settings.formulas.removeLast();
    }
    settings.patternFolder = file.value(QStringLiteral("folders/patterns")).toString();
    settings.pictureFolder = file.value(QStringLiteral("folders/pictures")).toString();
    settings.spectrumFolder = file.value(QStringLiteral("folders/spectra")).toString();
    settings.ion = file.value(QStringLiteral("highResolution/ion")).toString();
    settings.resolvingPower =
        file.value(QStringLiteral("highResolution/resolvingPower")).toString();
    settings.coverage = file.value(QStringLiteral("highResolution/coverage")).toString();
    settings.tolerance = file.value(QStringLiteral("highResolution/tolerance")).toString();
    settings.highResolutionGeometry =
        file.value(QStringLiteral("highResolution/geometry")).toByteArray();
    const int threads = file.value(QStringLiteral("engine/threads")).toInt();
    settings.engineThreads = threads == 1 || threads == 2 ? threads : 0;
    return settings;
}

void SettingsStore::write(const RememberedSettings& settings) const {
    if (!unusableFile(m_path).isEmpty()) {
        return; // said at the start; what the path names is left alone
    }
    QSettings file(m_path, QSettings::IniFormat);
    file.clear(); // a damaged file is replaced as a whole
    file.setValue(QStringLiteral("formula/history"), settings.formulas.mid(0, formulasKept));
    file.setValue(QStringLiteral("folders/patterns"), settings.patternFolder);
    file.setValue(QStringLiteral("folders/pictures"), settings.pictureFolder);
    file.setValue(QStringLiteral("folders/spectra"), settings.spectrumFolder);
    file.setValue(QStringLiteral("highResolution/ion"), settings.ion);
    file.setValue(QStringLiteral("highResolution/resolvingPower"), settings.resolvingPower);
    file.setValue(QStringLiteral("highResolution/coverage"), settings.coverage);
    file.setValue(QStringLiteral("highResolution/tolerance"), settings.tolerance);
    file.setValue(QStringLiteral("highResolution/geometry"), settings.highResolutionGeometry);
    if (settings.engineThreads != 0) {
        file.setValue(QStringLiteral("engine/threads"), settings.engineThreads);
    }
    file.sync();
}

} // namespace orvane::app
