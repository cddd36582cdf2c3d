#include "measured/array_size_check.h"

#include <zlib.h>

#include <string>

#include <gtest/gtest.h>

#include "measured/measured_test_support.h"
#include "support/temp_directory.h"
#include "text/error.h"

namespace orvane::measured {
namespace {

using testing_support::TempDirectory;

std::string zlibBase64(const std::string& bytes) {
    uLongf size = compressBound(bytes.size());
    std::string packed(size, '\0');
    EXPECT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &size,
                       reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()),
              Z_OK);
    packed.resize(size);
    return testing::base64(packed);
}

// One mzML spectrum's array: `accessions` are its cvParams, `text` its binary.
std::string mzmlArray(const std::string& accessions, const std::string& text) {
    std::string params;
    for (std::size_t at = 0; at < accessions.size(); at += 11) {
        params += "<cvParam cvRef=\"MS\" accession=\"" + accessions.substr(at, 10) + "\"/>\n";
    }
    return "<binaryDataArray>\n" + params + "<binary>" + text + "</binary></binaryDataArray>\n";
}

std::string mzmlWith(const std::string& declared, const std::string& arrays,
                     const std::string& after = "") {
    return "<mzML><run><spectrumList count=\"2\">\n"
           "<spectrum index=\"0\" id=\"scan=1\" defaultArrayLength=\"1\">" +
           mzmlArray("MS:1000523", testing::encodedDoubles({1.0}, false)) +
           "</spectrum>\n<spectrum index=\"1\" id=\"scan=2\" defaultArrayLength=\"" + declared +
           "\">\n<binaryDataArrayList count=\"1\">\n" + arrays +
           "</binaryDataArrayList></spectrum>\n</spectrumList>" + after + "</run></mzML>\n";
}

std::string mzxmlWith(const std::string& declared, const std::string& peaksAttributes,
                      const std::string& text) {
    return "<mzXML><msRun scanCount=\"1\">\n<scan num=\"7\" msLevel=\"1\" peaksCount=\"" +
           declared + "\">\n<peaks " + peaksAttributes + ">" + text +
           "</peaks>\n</scan>\n</msRun></mzXML>\n";
}

const std::string doubles5 = testing::encodedDoubles({1, 2, 3, 4, 5}, false);
const std::string doubles4 = testing::encodedDoubles({1, 2, 3, 4}, false);
const std::string floatZeros5 = zlibBase64(std::string(5 * 4, '\0'));
const std::string bomb = zlibBase64(std::string(1 << 20, '\0')); // 1 KiB inflating to 1 MiB

TEST(ArraySizeCheck, RefusesASpectrumThatHoldsOrDeclaresTooManyPoints) {
    const std::string refused = "x, spectrum 1 (scan=2): more than 4 points; a spectrum holds "
                                "at most that many";
    const struct {
        const char* name;
        MeasuredFormat format;
        std::string document;
        std::string message; // empty: accepted
    } cases[] = {
        {"five doubles, one declared", MeasuredFormat::MzML,
         mzmlWith("1", mzmlArray("MS:1000523", doubles5)), refused},
        {"a declared count beyond any", MeasuredFormat::MzML,
         mzmlWith("18446744073709551616000", mzmlArray("MS:1000523", doubles4)), refused},
        {"five zlib floats", MeasuredFormat::MzML,
         mzmlWith("4", mzmlArray("MS:1000521 MS:1000574", floatZeros5)), refused},
        {"a zlib bomb", MeasuredFormat::MzML,
         mzmlWith("4", mzmlArray("MS:1000523 MS:1000574", bomb)), refused},
        {"numpress counts two points a byte", MeasuredFormat::MzML,
         mzmlWith("4", mzmlArray("MS:1002312", testing::base64("abc"))), refused},
        {"an mzXML bomb", MeasuredFormat::MzXML,
         mzxmlWith("4", "precision=\"64\" compressionType=\"zlib\"", bomb),
         "x, spectrum 0 (7): more than 4 points; a spectrum holds at most that many"},
        {"an mzXML scan declaring too many", MeasuredFormat::MzXML,
         mzxmlWith("5", "precision=\"32\"", testing::base64(std::string(8, '\0'))),
         "x, spectrum 0 (7): more than 4 points; a spectrum holds at most that many"},
        {"four doubles", MeasuredFormat::MzML, mzmlWith("4", mzmlArray("MS:1000523", doubles4)),
         ""},
        {"four zlib floats", MeasuredFormat::MzML,
         mzmlWith("4", mzmlArray("MS:1000521 MS:1000574", zlibBase64(std::string(16, '\0')))), ""},
        {"a long chromatogram is not read", MeasuredFormat::MzML,
         mzmlWith("4", mzmlArray("MS:1000523", doubles4),
                  "<chromatogramList><chromatogram>" + mzmlArray("MS:1000523", doubles5) +
                      "</chromatogram></chromatogramList>"),
         ""},
        {"four mzXML pairs", MeasuredFormat::MzXML,
         mzxmlWith("4", "precision=\"32\" compressionType=\"zlib\"",
                   zlibBase64(std::string(32, '\0'))),
         ""},
    };
    const TempDirectory dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.write("x", c.document);
        std::string message;
        try {
            refuseOversizedArrays(path, "x", c.format, 4);
        } catch (const text::Error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, c.message);
    }
}

TEST(ArraySizeCheck, OpeningAFileRefusesItsSpectrumBeforeDecodingIt) {
    const TempDirectory dir;
    ReadLimits limits;
    limits.maxPoints = 2;
    const std::vector<testing::TestSpectrum> spectra = {
        {{100.0, 101.0, 102.0}, {3, 2, 1}, 1, "", -1}};
    std::string message;
    try {
        openMeasuredFile(
            dir.write("run.mzML", testing::mzmlDocument(spectra, testing::MzmlIndex::Right)),
            limits);
    } catch (const text::Error& error) {
        message = error.what();
    }
    EXPECT_EQ(message, "run.mzML, spectrum 0 (scan=1): more than 2 points; a spectrum holds at "
                       "most that many");
}

} // namespace
} // namespace orvane::measured
