#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orvane::data {

// What the search for the data files reads from the environment; an empty text stands for
// a variable that is not set.
struct DataFolderEnvironment {
    std::string home;        // $HOME
    std::string xdgDataHome; // $XDG_DATA_HOME
    std::string xdgDataDirs; // $XDG_DATA_DIRS
};

/// The process's environment.
DataFolderEnvironment processEnvironment();

/// The folders that may hold the data files, in the order they are tried: the working
/// directory, $XDG_DATA_HOME/orvane (~/.local/share/orvane when unset), every entry of
/// $XDG_DATA_DIRS with /orvane (/usr/local/share and /usr/share when unset), and the data
/// folder of the installation, `installedFolder` (when not empty). Each folder once.
std::vector<std::string> dataFolderCandidates(const std::string& workingDirectory,
                                              const DataFolderEnvironment& environment,
                                              const std::string& installedFolder);

/// The data folder of the installation a program at `executablePath` belongs to:
/// <prefix>/share/orvane for <prefix>/bin/program; empty for an empty path.
std::string installedDataFolder(const std::string& executablePath);

/// The folders a program at `executablePath` started in `workingDirectory` looks in, with the
/// process's environment: dataFolderCandidates with installedDataFolder(executablePath).
std::vector<std::string> standardDataFolders(const std::string& workingDirectory,
                                             const std::string& executablePath);

/// The first of `folders` that holds elem.txt as a regular file; nothing when none does.
std::optional<std::string> firstFolderWithElementFile(const std::vector<std::string>& folders);

/// The folders joined for a message: "a, b, c".
std::string folderList(const std::vector<std::string>& folders);

} // namespace orvane::data
