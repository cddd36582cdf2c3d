#pragma once

#include <QString>

namespace orvane::app {

// Where a save dialog starts and which name it proposes, for one kind of file (pattern
// files, pictures). The dialog opens in the folder last used for that kind, or the home
// folder the first time, never in the data folder (one click there could replace elem.txt),
// and proposes the formula's name with the kind's extension. A name chosen for the same
// formula is offered again as it was chosen.
class SaveLocations {
public:
    /// The path the dialog offers for the formula `stem` ("C8H10N4O2") and `suffix`
    /// ("txt", "png"); `dataFolder` is never proposed.
    QString propose(const QString& stem, const QString& suffix, const QString& dataFolder) const;
    /// Remembers the chosen path and the formula it was chosen for.
    void chosen(const QString& path, const QString& stem);
    /// The folder of the last choice; empty before the first.
    QString folder() const;
    /// Starts the next dialog in `folder` (as an earlier run left it), proposing no name of
    /// its own.
    void setFolder(const QString& folder);

private:
    QString m_lastPath;
    QString m_lastStem;
    QString m_folder; // as an earlier run left it, until the first choice of this run
};

} // namespace orvane::app
