#include "export/protected_files.h"

#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "export/safe_file_writer.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

std::string refusal(const ProtectedFiles& files, const std::string& path) {
    try {
        files.refuse(path);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "";
}

// Every way of naming a loaded data file is refused; other files, new names and a data file
// removed since (whose inode another file may take) are not.
TEST(ProtectedFiles, EveryNameOfALoadedFileIsRefused) {
    const testing_support::TempDirectory dir;
    std::filesystem::create_directories(dir.file("data"));
    const std::string elem = dir.write("data/elem.txt", "Atom\tC\r\nAW\t12.011\r\n");
    dir.write("data/other.txt", "x");
    std::filesystem::create_symlink(elem, dir.file("link"));
    std::filesystem::create_symlink(dir.file("link"), dir.file("link-to-link"));
    std::filesystem::create_hard_link(elem, dir.file("hard"));
    ProtectedFiles files;
    files.add(elem);
    files.add(dir.file("data/missing.txt")); // names nothing: ignored

    const struct {
        const char* name;
        std::string path;
        bool refused;
    } cases[] = {
        {"as loaded", elem, true},
        {"through ./", dir.file("data/./elem.txt"), true},
        {"through ..", dir.file("data/../data/elem.txt"), true},
        {"a symbolic link", dir.file("link"), true},
        {"a chain of links", dir.file("link-to-link"), true},
        {"a hard link", dir.file("hard"), true},
        {"another file", dir.file("data/other.txt"), false},
        {"a new name", dir.file("data/new.txt"), false},
        {"the missing one", dir.file("data/missing.txt"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = refusal(files, c.path);
        EXPECT_EQ(!message.empty(), c.refused) << message;
        if (c.refused) {
            EXPECT_EQ(message, c.path + " is the data file " + elem +
                                   " that Orvane loaded: it is not overwritten; choose another name");
        }
    }

    // removed: a file made afterwards may take its inode, and is not refused for that
    std::filesystem::remove(elem);
    std::filesystem::remove(dir.file("hard"));
    const std::string later = dir.write("data/later.txt", "a file made later");
    EXPECT_EQ(refusal(files, later), "");
}

TEST(ProtectedFiles, TheSafeWriterKeepsTheFileByteForByte) {
    const testing_support::TempDirectory dir;
    const std::string masses = dir.write("masses.txt", "H\t1.007825\r\n");
    protectedFiles().add(masses);
    EXPECT_THROW(writeFileAtomically(dir.file("./masses.txt"), "replaced"), text::Error);
    std::string kept(64, '\0');
    FILE* file = std::fopen(masses.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    kept.resize(std::fread(kept.data(), 1, kept.size(), file));
    std::fclose(file);
    EXPECT_EQ(kept, "H\t1.007825\r\n");
    writeFileAtomically(dir.file("pattern.txt"), "written");
    EXPECT_TRUE(std::filesystem::exists(dir.file("pattern.txt")));
}

} // namespace
} // namespace orvane::exporting
