#include "export/pattern_export.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "export/pattern_layouts.h"
#include "support/recording_notifier.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

using testing_support::RecordingNotifier;

calc::PatternState workedExample() {
    calc::PatternState pattern;
    pattern.n0 = 100;
    pattern.w = 1;
    pattern.p.assign(104, 0.0);
    pattern.p[100] = 100;
    pattern.p[101] = 25;
    pattern.centroid = 100.2;
    return pattern;
}

class PatternExport : public ::testing::Test {
protected:
    testing_support::TempDirectory m_dir;
};

TEST_F(PatternExport, NewFileIsWrittenWithoutAQuestion) {
    RecordingNotifier notifier;
    notifier.answer = false;
    EXPECT_TRUE(savePattern(m_dir.file("p.txt"), Layout::Normal, workedExample(), 100.5, 98, 102,
                            notifier));
    EXPECT_TRUE(notifier.questions.empty());
    EXPECT_EQ(m_dir.read("p.txt"), normalLayout(workedExample(), 100.5, 98, 102));
    EXPECT_EQ(m_dir.read("p.txt").substr(0, 18), "   98.30\t  0.000\r\n");
}

TEST_F(PatternExport, ExistingFileIsReplacedOnOk) {
    m_dir.write("p.txt", "old contents");
    RecordingNotifier notifier;
    notifier.answer = true;
    EXPECT_TRUE(savePattern(m_dir.file("p.txt"), Layout::Special, workedExample(), 100.5, 98, 102,
                            notifier));
    EXPECT_EQ(notifier.questions, std::vector<std::string>{"The file already exists!!!!"});
    EXPECT_EQ(m_dir.read("p.txt"), specialLayout(workedExample(), 100.5, 98, 102));
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{"p.txt"});
}

TEST_F(PatternExport, ExistingFileIsKeptOnCancel) {
    const std::string old = "old\r\ncontents\x01\xff";
    m_dir.write("p.txt", old);
    RecordingNotifier notifier;
    notifier.answer = false;
    EXPECT_FALSE(savePattern(m_dir.file("p.txt"), Layout::Normal, workedExample(), 100.5, 98, 102,
                             notifier));
    EXPECT_EQ(notifier.questions.size(), 1u);
    EXPECT_EQ(m_dir.read("p.txt"), old);
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{"p.txt"});
}

TEST_F(PatternExport, DirectoryIsNoExistingFileAndCannotBeWritten) {
    std::filesystem::create_directory(m_dir.file("dir"));
    RecordingNotifier notifier;
    notifier.answer = true;
    try {
        savePattern(m_dir.file("dir"), Layout::Normal, workedExample(), 100.5, 98, 102, notifier);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "ファイルへのアクセスが拒否されました");
    }
    EXPECT_TRUE(notifier.questions.empty());
    EXPECT_TRUE(std::filesystem::is_directory(m_dir.file("dir")));
    EXPECT_TRUE(m_dir.entries("dir").empty());
    EXPECT_EQ(m_dir.entries(), std::vector<std::string>{"dir"});
}

} // namespace
} // namespace orvane::exporting
