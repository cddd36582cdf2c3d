#include "data/data_folders.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_directory.h"

namespace orvane::data {
namespace {

using Folders = std::vector<std::string>;

TEST(DataFolders, TheOrderOfTheFoldersLookedIn) {
    const struct {
        const char* name;
        DataFolderEnvironment environment;
        std::string installed;
        Folders expected;
    } cases[] = {
        {"nothing set", {"/home/u", "", ""}, "/opt/o/share/orvane",
         {"/work", "/home/u/.local/share/orvane", "/usr/local/share/orvane", "/usr/share/orvane",
          "/opt/o/share/orvane"}},
        {"XDG variables", {"/home/u", "/xdg/home/", "/a:/b/:/a"}, "",
         {"/work", "/xdg/home/orvane", "/a/orvane", "/b/orvane"}},
        // relative entries are ignored, as the base directory rules ask
        {"relative entries", {"/home/u", "rel", "x:/c::"}, "/usr/share/orvane",
         {"/work", "/home/u/.local/share/orvane", "/c/orvane", "/usr/share/orvane"}},
        {"no home", {"", "", "/d"}, "/d/orvane", {"/work", "/d/orvane"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(dataFolderCandidates("/work", c.environment, c.installed), c.expected);
    }
}

TEST(DataFolders, TheInstallationsDataFolderLiesBesideItsPrograms) {
    EXPECT_EQ(installedDataFolder("/usr/bin/orvane"), "/usr/share/orvane");
    EXPECT_EQ(installedDataFolder("/opt/x/bin/orvane-calc"), "/opt/x/share/orvane");
    EXPECT_EQ(installedDataFolder("orvane"), "");
}

TEST(DataFolders, TheFirstFolderHoldingElemTxtIsChosen) {
    const testing_support::TempDirectory dir;
    for (const char* folder : {"b", "c", "d/elem.txt"}) {
        std::filesystem::create_directories(dir.file(folder));
    }
    dir.write("b/elem.txt", "Atom\tC\r\nAW\t12\r\n");
    dir.write("c/elem.txt", "Atom\tC\r\nAW\t12\r\n");
    dir.write("d/elem.txt/x", "a folder of that name does not count");
    EXPECT_EQ(firstFolderWithElementFile({dir.file("a"), dir.file("d"), dir.file("b"), dir.file("c")}),
              dir.file("b"));
    EXPECT_EQ(firstFolderWithElementFile({dir.file("a")}), std::nullopt);
    EXPECT_EQ(folderList({"/x", "/y"}), "/x, /y");
}

} // namespace
} // namespace orvane::data
