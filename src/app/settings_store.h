#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvane::app {

// What Orvane keeps from one run to the next: the formula history, the folders the file
// dialogs were last in, the high-resolution window's ion, resolving power, coverage and
// match tolerance, and that window's size and place. The main window keeps its designed
// geometry.
struct RememberedSettings {
    QStringList formulas; // newest first
    QString patternFolder, pictureFolder, spectrumFolder;
    QString ion, resolvingPower, coverage, tolerance;
    QByteArray highResolutionGeometry;
    int engineThreads = 0; // the exact engine's threads, 1 or 2; 0: as the machine has cores
};

// The settings file: an INI file of QSettings, the user's own under the application's name
// unless a path is given (tests).
class SettingsStore {
public:
    explicit SettingsStore(QString path = QString());

    /// The remembered settings; a file that cannot be read, or that is not a regular file (a
    /// pipe, a link to a device), gives none, and `problem` (when given) says why, naming it.
    RememberedSettings read(QString* problem = nullptr) const;
    /// Writes the settings, replacing a regular file or making one; a path that names
    /// anything else is left as it is.
    void write(const RememberedSettings& settings) const;
    QString path() const;

private:
    QString m_path;
};

} // namespace orvane::app
