#include "measured/peak_list.h"

#include <gtest/gtest.h>

#include "text/error.h"

namespace orvane::measured {
namespace {

struct Refused {
    const char* text;
    const char* message;
};

TEST(PeakList, RefusesWhatIsNoPeakList) {
    const Refused cases[] = {
        {"", "peaks.txt: no line holds two numbers (m/z and intensity)"},
        {"m/z\tintensity\n# none yet\nabc def\n",
         "peaks.txt: no line holds two numbers (m/z and intensity)"},
        {"mz,int\n100.1,5\n100.2,6\n\n# the next line is damaged\n100.4,6\nabc,7\n",
         "peaks.txt, line 7: 'abc' is not a number"},
        {"100.1 5\n100.2 x\n", "peaks.txt, line 2: 'x' is not a number"},
        {"100.1 5\n100.2\n", "peaks.txt, line 2: the intensity is missing after the m/z"},
        {"100.1;5;7\n",
         "peaks.txt, line 1: a third field '7'; a line holds two: m/z and intensity"},
        // with ',' as the separator a decimal comma splits the numbers
        {"98,3,12,5\n",
         "peaks.txt, line 1: a third field '12'; a line holds two: m/z and intensity"},
        {"100.1\t-5\n", "peaks.txt, line 1: the intensity '-5' is negative"},
        {"0\t5\n", "peaks.txt, line 1: the m/z '0' is not above 0"},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            parsePeakList(c.text, "peaks.txt");
            ADD_FAILURE() << "accepted";
        } catch (const text::Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

struct Layout {
    const char* name;
    const char* text;
};

TEST(PeakList, ReadsEveryLayoutOfTheSamePoints) {
    const Layout cases[] = {
        {"TAB with header and comment",
         "# measured 2024\nm/z\tintensity\n100.5\t20\n101.5\t7.25\n"},
        {"CSV with header", "\"mz\",\"intensity\"\r\n100.5,20\r\n101.5, 7.25\r\n"},
        {"semicolons, decimal comma", "mz;int\n100,5;20\n101,5;7,25\n"},
        {"blanks after a UTF-8 mark", "\xef\xbb\xbf  100.5   20\n\n101.5 7.25e0\n"},
        {"the normal export", "  100.50\t 20.000\r\n  101.50\t  7.250\r\n"},
        {"lone CR line ends, unsorted", "101.5\t7.25\r100.5\t20\r"},
        {"trailing separators", "100.5\t20\t\n101.5\t7.25\t\t\n"},
    };
    for (const Layout& c : cases) {
        SCOPED_TRACE(c.name);
        const Spectrum spectrum = parsePeakList(c.text, "peaks.txt");
        EXPECT_EQ(spectrum.mz, (std::vector<double>{100.5, 101.5}));
        EXPECT_EQ(spectrum.intensity, (std::vector<double>{20, 7.25}));
    }
}

} // namespace
} // namespace orvane::measured
