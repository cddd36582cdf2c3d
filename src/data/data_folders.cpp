#include "data/data_folders.h"

#include <algorithm>
#include <cstdlib>

#include "data/data_file_reader.h"
#include "data/element_file.h"

namespace orvane::data {

namespace {

constexpr const char* folderName = "/orvane";

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') {
        folder.pop_back();
    }
    return folder;
}

void addOnce(std::vector<std::string>& folders, const std::string& folder) {
    // relative entries of the XDG variables are to be ignored, as the base directory rules say
    if (folder.empty() || (folder.front() != '/' && !folders.empty())) {
        return;
    }
    const std::string clean = withoutTrailingSlash(folder);
    if (std::find(folders.begin(), folders.end(), clean) == folders.end()) {
        folders.push_back(clean);
    }
}

} // namespace

DataFolderEnvironment processEnvironment() {
    return {variable("HOME"), variable("XDG_DATA_HOME"), variable("XDG_DATA_DIRS")};
}

std::vector<std::string> dataFolderCandidates(const std::string& workingDirectory,
                                              const DataFolderEnvironment& environment,
                                              const std::string& installedFolder) {
    std::vector<std::string> folders;
    addOnce(folders, workingDirectory.empty() ? std::string(".") : workingDirectory);
    if (!environment.xdgDataHome.empty() && environment.xdgDataHome.front() == '/') {
        addOnce(folders, withoutTrailingSlash(environment.xdgDataHome) + folderName);
    } else if (!environment.home.empty()) {
        addOnce(folders, withoutTrailingSlash(environment.home) + "/.local/share" + folderName);
    }
    const std::string dirs =
        environment.xdgDataDirs.empty() ? "/usr/local/share:/usr/share" : environment.xdgDataDirs;
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t colon = std::min(dirs.find(':', start), dirs.size());
        const std::string entry = dirs.substr(start, colon - start);
        if (!entry.empty() && entry.front() == '/') {
            addOnce(folders, withoutTrailingSlash(entry) + folderName);
        }
        start = colon + 1;
    }
    addOnce(folders, installedFolder);
    return folders;
}

std::string installedDataFolder(const std::string& executablePath) {
    const std::size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    // the folder above the program's own: <prefix>/bin/orvane gives <prefix>
    const std::string binFolder = executablePath.substr(0, slash);
    const std::size_t above = binFolder.rfind('/');
    const std::string prefix = above == std::string::npos ? "." : binFolder.substr(0, above);
    return prefix + "/share/orvane";
}

std::vector<std::string> standardDataFolders(const std::string& workingDirectory,
                                             const std::string& executablePath) {
    return dataFolderCandidates(workingDirectory, processEnvironment(),
                                installedDataFolder(executablePath));
}

std::optional<std::string> firstFolderWithElementFile(const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (isRegularFile(dataFilePath(folder, elementFileName))) {
            return folder;
        }
    }
    return std::nullopt;
}

std::string folderList(const std::vector<std::string>& folders) {
    std::string list;
    for (const std::string& folder : folders) {
        if (!list.empty()) {
            list += ", ";
        }
        list += folder;
    }
    return list;
}

} // namespace orvane::data
