#include "data/tab_splitter.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::data {
namespace {

struct SplitCase {
    std::string line;
    std::vector<std::string> fields;
};

TEST(TabSplitter, CutsAtTabsOnly) {
    const SplitCase cases[] = {
        {"", {""}},
        {"a", {"a"}},
        {"Atom\tH\tC\tN", {"Atom", "H", "C", "N"}},
        {"\t", {"", ""}},
        {"\ta", {"", "a"}},
        {"a\t", {"a", ""}},
        {"a\t\tb", {"a", "", "b"}},
        {"\t\t\t", {"", "", "", ""}},
        {" H \t 1.008 ", {" H ", " 1.008 "}},
        {"a,b;c d\"e\\\tf", {"a,b;c d\"e\\", "f"}},
        {std::string("x\0y\tz", 5), {std::string("x\0y", 3), "z"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.line));
        const std::vector<std::string_view> fields = splitTabs(c.line);
        ASSERT_EQ(fields.size(), c.fields.size());
        EXPECT_EQ(static_cast<std::size_t>(countTabs(c.line)) + 1, fields.size());
        for (std::size_t k = 0; k < fields.size(); ++k) {
            EXPECT_EQ(fields[k], c.fields[k]) << "field " << k;
        }
    }
}

TEST(TabSplitter, HoldsTwoHundredFields) {
    std::string line = "f0";
    for (int k = 1; k <= maxTabsPerLine; ++k) {
        line += "\tf" + std::to_string(k);
    }
    EXPECT_EQ(countTabs(line), 199);
    const std::vector<std::string_view> fields = splitTabs(line);
    ASSERT_EQ(fields.size(), 200u);
    EXPECT_EQ(fields.front(), "f0");
    EXPECT_EQ(fields.back(), "f199");
    EXPECT_NO_THROW(requireTabLimit(line, "elem.txt", 1));
}

TEST(TabSplitter, RefusesALineOfMoreTabs) {
    const std::string line(200, '\t');
    EXPECT_EQ(countTabs(line), 200);
    try {
        requireTabLimit(line, "abundances.txt", 7);
        FAIL() << "no error";
    } catch (const text::Error& error) {
        EXPECT_STREQ(error.what(), "abundances.txt, line 7: more than 199 TAB characters; the "
                                   "file was not loaded.");
    }
}

} // namespace
} // namespace orvane::data
