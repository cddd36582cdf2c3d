#include "export/pattern_export.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "export/pattern_layouts.h"
#include "export/temp_directory.h"
#include "text/error.h"

namespace orvane::exporting {
namespace {

// Records the notices and answers every question as told.
class RecordingNotifier : public text::Notifier {
public:
    explicit RecordingNotifier(bool answer) : m_answer(answer) {}
    void notify(const std::string& message) override { notices.push_back(message); }
    bool confirm(const std::string& message) override {
        questions.push_back(message);
        return m_answer;
    }
    std::vector<std::string> notices;
    std::vector<std::string> questions;

private:
    bool m_answer;
};

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

class PatternExport : public testing::TempDirectory {};

TEST_F(PatternExport, NewFileIsWrittenWithoutAQuestion) {
    RecordingNotifier notifier(false);
    EXPECT_TRUE(savePattern(path("p.txt"), Layout::Normal, workedExample(), 100.5, 2, notifier));
    EXPECT_TRUE(notifier.questions.empty());
    EXPECT_EQ(readText(path("p.txt")), normalLayout(workedExample(), 100.5, 2));
    EXPECT_EQ(readText(path("p.txt")).substr(0, 18), "   98.30\t  0.000\r\n");
}

TEST_F(PatternExport, ExistingFileIsReplacedOnOk) {
    writeText(path("p.txt"), "old contents");
    RecordingNotifier notifier(true);
    EXPECT_TRUE(savePattern(path("p.txt"), Layout::Special, workedExample(), 100.5, 2, notifier));
    EXPECT_EQ(notifier.questions, std::vector<std::string>{"The file already exists!!!!"});
    EXPECT_EQ(readText(path("p.txt")), specialLayout(workedExample(), 100.5, 2));
    EXPECT_EQ(entries(), std::vector<std::string>{"p.txt"});
}

TEST_F(PatternExport, ExistingFileIsKeptOnCancel) {
    const std::string old = "old\r\ncontents\x01\xff";
    writeText(path("p.txt"), old);
    RecordingNotifier notifier(false);
    EXPECT_FALSE(savePattern(path("p.txt"), Layout::Normal, workedExample(), 100.5, 2, notifier));
    EXPECT_EQ(notifier.questions.size(), 1u);
    EXPECT_EQ(readText(path("p.txt")), old);
    EXPECT_EQ(entries(), std::vector<std::string>{"p.txt"});
}

TEST_F(PatternExport, DirectoryIsNoExistingFileAndCannotBeWritten) {
    std::filesystem::create_directory(path("dir"));
    RecordingNotifier notifier(true);
    try {
        savePattern(path("dir"), Layout::Normal, workedExample(), 100.5, 2, notifier);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "ファイルへのアクセスが拒否されました");
    }
    EXPECT_TRUE(notifier.questions.empty());
    EXPECT_TRUE(std::filesystem::is_directory(path("dir")));
    EXPECT_TRUE(entries(path("dir")).empty());
    EXPECT_EQ(entries(), std::vector<std::string>{"dir"});
}

} // namespace
} // namespace orvane::exporting
