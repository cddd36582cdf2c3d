#include "measured/measured_file.h"

#include <cmath>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <zlib.h>

#include <gtest/gtest.h>

#include "measured/measured_test_support.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::measured {
namespace {

using testing::MzmlIndex;
using testing::TestSpectrum;
using testing_support::TempDirectory;

// An MS1 centroid and an MS2 profile spectrum, the second written with its m/z unsorted.
const std::vector<TestSpectrum> twoSpectra = {
    {{100.0, 101.0, 102.0}, {10, 5, 1}, 1, "centroid", 1.5},
    {{200.5, 200.0, 201.0}, {2, 1, 3}, 2, "profile", 2.25},
};

std::string openFailure(const std::string& path) {
    try {
        openMeasuredFile(path);
    } catch (const text::Error& error) {
        return error.what();
    }
    return "opened";
}

// The bytes as gzip writes them.
std::string gzipped(const std::string& bytes) {
    z_stream z{};
    EXPECT_EQ(
        deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY),
        Z_OK);
    std::string packed(deflateBound(&z, bytes.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(packed.data());
    z.avail_out = static_cast<uInt>(packed.size());
    EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    packed.resize(packed.size() - z.avail_out);
    deflateEnd(&z);
    return packed;
}

TEST(MeasuredFile, RefusesBadFilesNamingThem) {
    const TempDirectory dir;
    const std::string whole = testing::mzmlDocument(twoSpectra, MzmlIndex::Right);
    const std::string noSpectra = testing::mzmlDocument({}, MzmlIndex::None);
    std::string selfClosed = noSpectra;
    selfClosed.replace(selfClosed.find("<spectrumList"),
                       selfClosed.find("</spectrumList>\n") + 16 - selfClosed.find("<spectrumList"),
                       "<spectrumList count=\"0\"/>\n");
    const std::string mzxml = testing::mzxmlDocument(twoSpectra);
    std::string damaged = gzipped(whole);
    damaged.replace(20, 40, std::string(40, '\xff'));
    // a draft before mzML 1.0: its version, and an element 1.0 dropped
    std::string draft = testing::mzmlDocument(twoSpectra, MzmlIndex::None);
    draft.replace(draft.find("version=\"1.1.0\""), 15, "version=\"0.99.1\"");
    draft.insert(draft.find('>', draft.find("<spectrum ")) + 1,
                 "<spectrumDescription></spectrumDescription>");
    struct Case {
        std::string name;
        std::string bytes; // not written when empty and the name has no '.'
        std::string message;
    } cases[] = {
        {"missing", "", "missing: ファイルが見つかりません"},
        {"junk.mzML",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\0",
                     10),
         "junk.mzML: binary data, neither a peak list nor mzML or mzXML"},
        {"empty.txt", "", "empty.txt: the file is empty"},
        {"packed.mzML.gz", "\x1f\x8b\x08\x00 rest",
         "packed.mzML.gz: the compressed data ends early"},
        {"damaged.mzML.gz", damaged, "damaged.mzML.gz: damaged compressed data (..."},
        {"cut.mzML.gz", gzipped(whole).substr(0, 60),
         "cut.mzML.gz: the compressed data ends early"},
        {"photo.gz", gzipped(std::string("\x89PNG\r\n\x1a\n\0\0\0", 12)),
         "photo.gz: a compressed file that holds neither a peak list nor mzML or mzXML"},
        {"packed.mzML.bz2", "BZh91AY&SY rest",
         "packed.mzML.bz2: a compressed file; unpack it and open what is inside"},
        {"page.xml", "<?xml version=\"1.0\"?><html></html>",
         "page.xml: an XML file, but neither mzML nor mzXML"},
        {"spectrum.mzML", whole.substr(0, whole.find("scan=2")),
         "spectrum.mzML: the XML ends before the spectrum list is closed"},
        {"scans.mzXML", mzxml.substr(0, mzxml.size() / 2),
         "scans.mzXML: the XML ends before the scan list is closed"},
        {"none.mzML", noSpectra, "none.mzML: the file holds no spectra"},
        {"old.mzML", draft, "old.mzML: mzML 0.99 files are not supported; convert with msconvert"},
        {"closed.mzML", selfClosed, "closed.mzML: the file holds no spectra"},
        {"uneven.mzML", testing::mzmlDocument({{{1.0, 2.0}, {5}, 1, "", -1}}, MzmlIndex::None),
         "uneven.mzML: not a readable mzML file (spectrum 0: ..."}, // then ProteoWizard's words
        {"words.txt", "intensity and m/z\nnone\n",
         "words.txt: no line holds two numbers (m/z and intensity)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.bytes.empty() || c.name.find('.') != std::string::npos) {
            dir.write(c.name, c.bytes);
        }
        const std::string message = openFailure(dir.file(c.name));
        if (c.message.ends_with("...")) {
            EXPECT_EQ(message.substr(0, c.message.size() - 3),
                      c.message.substr(0, c.message.size() - 3));
        } else {
            EXPECT_EQ(message, c.message);
        }
    }
    EXPECT_EQ(openFailure(dir.path()),
              dir.path().substr(dir.path().rfind('/') + 1) + ": a directory, not a file");
}

// A point no spectrum can hold (m/z 0, NaN, a negative intensity) refuses its spectrum
// alone, naming it as --spectrum counts (from 0); the file opens and its other spectra read,
// and the default spectrum passes it over.
TEST(MeasuredFile, ABadPointRefusesItsSpectrumAlone) {
    const TempDirectory dir;
    const testing::TestSpectrum good{{100.0, 101.0}, {5, 2}, 1, "", -1};
    const struct {
        std::string name;
        std::string bytes;
        std::size_t refused; // the spectrum's index
        std::string problem;
    } cases[] = {
        {"zero.mzML", testing::mzmlDocument({good, {{0.0}, {1}, 1, "", -1}}, MzmlIndex::Right), 1,
         "zero.mzML, spectrum 1 (scan=2): point 1: the m/z 0 is not a finite number above 0"},
        {"nan.mzML",
         testing::mzmlDocument({{{100.0, NAN, 102.0}, {1, 2, 3}, 1, "", -1}, good},
                               MzmlIndex::None),
         0, "nan.mzML, spectrum 0 (scan=1): point 2: the m/z NAN is not a finite number above 0"},
        {"infinite.mzXML",
         testing::mzxmlDocument({{{100.0, 101.0}, {1, INFINITY}, 1, "centroid", 1}, good}), 0,
         "infinite.mzXML, spectrum 0 (scan=1): point 2: the intensity INF is not a finite "
         "number of 0 or more"},
        {"negative.mzML",
         testing::mzmlDocument({good, {{100.0, 101.0}, {-1, 2}, 1, "", -1}}, MzmlIndex::None), 1,
         "negative.mzML, spectrum 1 (scan=2): point 1: the intensity -1 is not a finite number "
         "of 0 or more"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.write(c.name, c.bytes);
        const MeasuredFile file = openMeasuredFile(dir.file(c.name));
        ASSERT_EQ(file.spectra().size(), 2u);
        const std::size_t other = 1 - c.refused;
        EXPECT_EQ(file.spectra()[c.refused].problem, c.problem);
        EXPECT_EQ(file.spectra()[c.refused].pointCount, 0u);
        EXPECT_EQ(file.spectra()[other].problem, "");
        EXPECT_EQ(file.spectra()[other].pointCount, 2u);
        EXPECT_EQ(loadSpectrum(file, other).size(), 2u);
        try {
            loadSpectrum(file, c.refused);
            ADD_FAILURE() << "the refused spectrum loaded";
        } catch (const text::Error& error) {
            EXPECT_EQ(error.what(), c.problem);
        }
        EXPECT_EQ(defaultSpectrum(file, 0, 1000), other);
    }
}

void expectTwoSpectra(const MeasuredFile& file) {
    ASSERT_EQ(file.spectra().size(), 2u);
    const SpectrumSummary& first = file.spectra()[0];
    const SpectrumSummary& second = file.spectra()[1];
    EXPECT_EQ(first.index, 0u);
    EXPECT_EQ(first.id, "scan=1");
    EXPECT_EQ(first.msLevel, 1);
    EXPECT_EQ(first.retentionTimeSeconds, 90.0);
    EXPECT_EQ(first.pointCount, 3u);
    EXPECT_EQ(first.summedIntensity, 16.0);
    EXPECT_EQ(first.representation, Representation::Centroid);
    EXPECT_EQ(second.index, 1u);
    EXPECT_EQ(second.msLevel, 2);
    EXPECT_EQ(second.retentionTimeSeconds, 135.0);
    EXPECT_EQ(second.summedIntensity, 6.0);
    EXPECT_EQ(second.representation, Representation::Profile);
    const Spectrum points = loadSpectrum(file, 1);
    EXPECT_EQ(points.mz, (std::vector<double>{200.0, 200.5, 201.0}));
    EXPECT_EQ(points.intensity, (std::vector<double>{1, 2, 3}));
}

// A FIFO named `name` in `dir` that a writer fills with `bytes` once it is opened; the
// bytes stay under a pipe's buffer, so that the writer never waits for the reader.
class FilledFifo {
public:
    FilledFifo(const TempDirectory& dir, const std::string& name, std::string bytes)
        : m_path(dir.file(name)) {
        EXPECT_EQ(::mkfifo(m_path.c_str(), 0600), 0);
        EXPECT_LT(bytes.size(), 64u * 1024);
        m_writer = std::jthread([path = m_path, bytes = std::move(bytes)] {
            std::ofstream(path, std::ios::binary) << bytes;
        });
    }
    // a reader that never opened the FIFO would leave the writer waiting
    ~FilledFifo() {
        const int reader = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK);
        m_writer.join();
        ::close(reader);
    }
    FilledFifo(const FilledFifo&) = delete;
    FilledFifo& operator=(const FilledFifo&) = delete;
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
    std::jthread m_writer;
};

// A named pipe that no one writes to, or a device, would hold the reader for ever: refused,
// naming the file, and the pipe's writer that comes after the refusal is not waited for.
TEST(MeasuredFile, APipeWithoutAWriterOrADeviceIsRefusedAtOnce) {
    const TempDirectory dir;
    const std::string fifo = dir.file("unwritten.mzML");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {fifo, "unwritten.mzML: a pipe that no one writes to"},
        {"/dev/null", "null: neither a file nor a pipe"},
        {"/dev/zero", "zero: neither a file nor a pipe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(openFailure(c.path), c.message);
    }
}

TEST(MeasuredFile, APipeTooLargeOrNoPeakListIsRefused) {
    const TempDirectory dir;
    ReadLimits small;
    small.streamBytes = 1024;
    small.peakListSearchBytes = 1024;
    const struct {
        std::string name;
        std::string bytes;
        std::string message;
    } cases[] = {
        {"large.mzML", testing::mzmlDocument(twoSpectra, MzmlIndex::Right) + std::string(1024, ' '),
         "large.mzML: more than 1 KiB through a pipe; save it to a file and open that"},
        {"words.txt", std::string(2000, 'w'),
         "words.txt: no line holds two numbers (m/z and intensity) in the first 1 KiB; not a "
         "peak list"},
        {"binary.txt", std::string("\0\1\2", 3),
         "binary.txt: binary data, neither a peak list "
         "nor mzML or mzXML"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FilledFifo fifo(dir, c.name, c.bytes);
        std::string message = "opened";
        try {
            openMeasuredFile(fifo.path(), small);
        } catch (const text::Error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message);
    }
}

TEST(MeasuredFile, APipeIsReadOnce) {
    const TempDirectory dir;
    const struct {
        std::string name;
        std::string bytes;
        MeasuredFormat format;
    } cases[] = {
        {"indexed.mzML", testing::mzmlDocument(twoSpectra, MzmlIndex::Right), MeasuredFormat::MzML},
        {"past-end.mzML", testing::mzmlDocument(twoSpectra, MzmlIndex::IndexPastEnd),
         MeasuredFormat::MzML},
        {"run.mzXML", testing::mzxmlDocument(twoSpectra), MeasuredFormat::MzXML},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FilledFifo fifo(dir, c.name, c.bytes);
        const MeasuredFile file = openMeasuredFile(fifo.path());
        EXPECT_EQ(file.format(), c.format);
        EXPECT_EQ(file.path(), fifo.path());
        expectTwoSpectra(file);
    }
    const FilledFifo peaks(dir, "peaks", "m/z\tintensity\n101.5\t5\n100.5\t20\n");
    const MeasuredFile file = openMeasuredFile(peaks.path());
    EXPECT_EQ(file.format(), MeasuredFormat::PeakList);
    EXPECT_EQ(loadSpectrum(file, 0).mz, (std::vector<double>{100.5, 101.5}));
}

TEST(MeasuredFile, ReadsMzmlWithAndWithoutARightIndex) {
    const TempDirectory dir;
    const struct {
        const char* name;
        MzmlIndex index;
    } cases[] = {
        {"plain.mzML", MzmlIndex::None},
        {"indexed.mzML", MzmlIndex::Right},
        {"offsets-past-end.mzML", MzmlIndex::OffsetsPastEnd},
        {"index-past-end.mzML", MzmlIndex::IndexPastEnd},
        {"named-as-text.txt", MzmlIndex::Right}, // the content decides, not the name
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MeasuredFile file =
            openMeasuredFile(dir.write(c.name, testing::mzmlDocument(twoSpectra, c.index)));
        EXPECT_EQ(file.format(), MeasuredFormat::MzML);
        expectTwoSpectra(file);
    }
}

TEST(MeasuredFile, ReadsGzippedFilesAsWhatTheyHold) {
    const TempDirectory dir;
    const MeasuredFile mzml = openMeasuredFile(
        dir.write("run.mzML.gz", gzipped(testing::mzmlDocument(twoSpectra, MzmlIndex::Right))));
    EXPECT_EQ(mzml.format(), MeasuredFormat::MzML);
    EXPECT_EQ(mzml.path(), dir.file("run.mzML.gz"));
    expectTwoSpectra(mzml);
    // two gzip members one after the other, as "cat a.gz b.gz" makes them
    const std::string xml = testing::mzxmlDocument(twoSpectra);
    const MeasuredFile mzxml = openMeasuredFile(
        dir.write("run.mzXML.gz", gzipped(xml.substr(0, 100)) + gzipped(xml.substr(100))));
    EXPECT_EQ(mzxml.format(), MeasuredFormat::MzXML);
    expectTwoSpectra(mzxml);
    const MeasuredFile peaks =
        openMeasuredFile(dir.write("peaks.txt.gz", gzipped("101.5\t5\n100.5\t20\n")));
    EXPECT_EQ(peaks.format(), MeasuredFormat::PeakList);
    EXPECT_EQ(loadSpectrum(peaks, 0).mz, (std::vector<double>{100.5, 101.5}));
    // more than the limit unpacked is refused, not held
    ReadLimits small;
    small.streamBytes = 1000;
    try {
        openMeasuredFile(dir.file("run.mzML.gz"), small);
        ADD_FAILURE() << "read beyond the limit";
    } catch (const text::Error& error) {
        EXPECT_EQ(std::string(error.what()),
                  "run.mzML.gz: more than 1000 bytes unpacked; unpack it and open what is inside");
    }
}

TEST(MeasuredFile, ReadsMzxml) {
    const TempDirectory dir;
    const MeasuredFile file =
        openMeasuredFile(dir.write("run.mzXML", testing::mzxmlDocument(twoSpectra)));
    EXPECT_EQ(file.format(), MeasuredFormat::MzXML);
    expectTwoSpectra(file);
}

TEST(MeasuredFile, LeavesWhatTheFileDoesNotSayUnknown) {
    const TempDirectory dir;
    const MeasuredFile file = openMeasuredFile(dir.write(
        "bare.mzML", testing::mzmlDocument({{{300.0}, {4}, 0, "", -1}}, MzmlIndex::None)));
    const SpectrumSummary& summary = file.spectra().at(0);
    EXPECT_EQ(summary.msLevel, 0);
    EXPECT_FALSE(summary.retentionTimeSeconds.has_value());
    EXPECT_EQ(summary.representation, Representation::Unknown);
}

TEST(MeasuredFile, APeakListIsOneCentroidMs1Spectrum) {
    const TempDirectory dir;
    const MeasuredFile file = openMeasuredFile(dir.write("peaks.mzML", "101.5\t5\n100.5\t20\n"));
    EXPECT_EQ(file.format(), MeasuredFormat::PeakList);
    ASSERT_EQ(file.spectra().size(), 1u);
    EXPECT_EQ(file.spectra()[0].id, "peaks.mzML");
    EXPECT_EQ(file.spectra()[0].msLevel, 1);
    EXPECT_EQ(file.spectra()[0].pointCount, 2u);
    EXPECT_EQ(file.spectra()[0].summedIntensity, 25.0);
    EXPECT_EQ(file.spectra()[0].representation, Representation::Centroid);
    EXPECT_EQ(loadSpectrum(file, 0).mz, (std::vector<double>{100.5, 101.5}));
}

TEST(MeasuredFile, APeakListOfAProfileScanIsAProfile) {
    // a Gaussian sampled every 0.001 u, written out as two columns
    std::string text;
    for (int i = 0; i < 200; ++i) {
        const double mz = 195.0 + 0.001 * i;
        const double d = (mz - 195.1) / 0.004;
        text +=
            std::to_string(mz) + "\t" + std::to_string(1000 * std::exp(-0.5 * d * d) + 1) + "\n";
    }
    const TempDirectory dir;
    const MeasuredFile file = openMeasuredFile(dir.write("profile.txt", text));
    ASSERT_EQ(file.spectra().size(), 1u);
    EXPECT_EQ(file.spectra()[0].representation, Representation::Profile);
}

TEST(MeasuredFile, DefaultSpectrumHasTheMostIntensityInTheRange) {
    const TempDirectory dir;
    // Sums in 500..502: 3, 900 (MS2), 8, 8, 0 (all outside), 5 with unknown level.
    const std::vector<TestSpectrum> run = {
        {{499.0, 500.0, 502.0}, {1000, 1, 2}, 1, "centroid", 1},
        {{501.0}, {900}, 2, "centroid", 2},
        {{500.5, 501.0, 502.5}, {4, 4, 1000}, 1, "profile", 3},
        {{501.5}, {8}, 1, "centroid", 4},
        {{600.0}, {1e6}, 1, "centroid", 5},
        {{501.0}, {5}, 0, "", 6},
    };
    const struct {
        const char* name;
        std::vector<TestSpectrum> spectra;
        std::size_t expected;
    } cases[] = {
        {"MS1 only, the first of a tie", run, 2},
        {"unknown levels stand in for MS1", {run[1], run[5]}, 1},
        {"neither: every spectrum counts", {run[1], run[1]}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const MeasuredFile file = openMeasuredFile(
            dir.write("run.mzML", testing::mzmlDocument(c.spectra, MzmlIndex::Right)));
        EXPECT_EQ(defaultSpectrum(file, 500.0, 502.0), c.expected);
    }
}

} // namespace
} // namespace orvane::measured
