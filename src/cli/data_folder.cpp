#include "cli/data_folder.h"

#include <iostream>
#include <optional>
#include <vector>

#include "data/data_folders.h"

namespace orvane::cli {

void findDataFolder(CommandLine& commandLine, const std::string& executablePath) {
    if (commandLine.dataGiven) {
        return;
    }
    const std::vector<std::string> folders =
        data::standardDataFolders(commandLine.dataDirectory, executablePath);
    commandLine.searchedFolders = folders;
    const std::optional<std::string> found = data::firstFolderWithElementFile(folders);
    if (found && *found != commandLine.dataDirectory) {
        commandLine.dataDirectory = *found;
        std::cerr << "notice: data files from " << *found << '\n';
    }
}

} // namespace orvane::cli
