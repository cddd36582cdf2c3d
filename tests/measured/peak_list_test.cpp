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

struct Streamed {
    const char* name;
    std::string text;
    std::size_t maxPoints;
    std::string message; // empty: read
};

// Refused as soon as it shows, whatever follows; a piece at a time as from a pipe.
TEST(PeakListReader, RefusesWhatIsClearlyNoPeakListEarly) {
    const std::string header(1000, 'x');
    const Streamed cases[] = {
        {"no data line in the first KiB", header + "\n" + header + "\n100 5\n", 10,
         "peaks.txt: no line holds two numbers (m/z and intensity) in the first 1 KiB; not a "
         "peak list"},
        {"one long line", std::string(5000, 'y'), 10,
         "peaks.txt: no line holds two numbers (m/z and intensity) in the first 1 KiB; not a "
         "peak list"},
        {"a long line after the data", "100 5\n" + std::string(2000, '1'), 10,
         "peaks.txt, line 2: longer than 1 KiB; a line holds two numbers"},
        {"too many points", "100 5\n101 6\n102 7\n", 2,
         "peaks.txt, line 3: more than 2 points; a spectrum holds at most that many"},
        {"a data line across the first KiB", std::string(1020, '#') + "\n100 5\r\n101 6\n", 10, ""},
        {"as many points as allowed", "100 5\n101 6\n", 2, ""},
    };
    for (const Streamed& c : cases) {
        for (const std::size_t piece : {std::size_t(1), std::size_t(7), c.text.size()}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            std::string message;
            try {
                PeakListReader reader("peaks.txt", 1024, c.maxPoints);
                for (std::size_t at = 0; at < c.text.size(); at += piece) {
                    reader.read(std::string_view(c.text).substr(at, piece));
                }
                const Spectrum spectrum = reader.finish();
                EXPECT_EQ(spectrum.mz.front(), 100.0);
            } catch (const text::Error& error) {
                message = error.what();
            }
            EXPECT_EQ(message, c.message);
        }
    }
}

TEST(PeakListReader, ReadsEveryLayoutInPiecesOfAnySize) {
    const Layout cases[] = {
        {"CR LF split between pieces", "m/z\tint\r\n100.5\t20\r\n101.5\t7.25\r\n"},
        {"lone CRs", "101.5\t7.25\r100.5\t20\r"},
        {"a UTF-8 mark split", "\xef\xbb\xbf  100.5   20\n101.5 7.25"},
    };
    for (const Layout& c : cases) {
        for (const std::size_t piece : {1, 2, 3, 5}) {
            SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
            PeakListReader reader("peaks.txt");
            const std::string_view text = c.text;
            for (std::size_t at = 0; at < text.size(); at += piece) {
                reader.read(text.substr(at, piece));
            }
            const Spectrum spectrum = reader.finish();
            EXPECT_EQ(spectrum.mz, (std::vector<double>{100.5, 101.5}));
            EXPECT_EQ(spectrum.intensity, (std::vector<double>{20, 7.25}));
        }
    }
}

} // namespace
} // namespace orvane::measured
