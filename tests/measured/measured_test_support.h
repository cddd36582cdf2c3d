#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane::measured::testing {

// Standard base64 (RFC 4648) with '=' padding.
inline std::string base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            out += k <= n ? digits[(group >> (18 - 6 * k)) & 63] : '=';
        }
    }
    return out;
}

// The doubles as 64-bit IEEE bytes, little-endian (mzML) or big-endian (mzXML), base64-encoded.
inline std::string encodedDoubles(const std::vector<double>& values, bool bigEndian) {
    std::string bytes;
    for (const double value : values) {
        const auto bits = std::bit_cast<std::uint64_t>(value);
        for (int k = 0; k < 8; ++k) {
            bytes += static_cast<char>(bits >> (8 * (bigEndian ? 7 - k : k)));
        }
    }
    return base64(bytes);
}

struct TestSpectrum {
    std::vector<double> mz;
    std::vector<double> intensity;
    int msLevel = 1;            // 0: no level written
    std::string representation; // "centroid", "profile" or nothing written
    double minutes = -1;        // scan start time; below 0: none written
};

enum class MzmlIndex { None, Right, OffsetsPastEnd, IndexPastEnd };

inline std::string mzmlSpectrum(const TestSpectrum& s, std::size_t i) {
    const auto param = [](const char* accession, const std::string& name, const std::string& rest) {
        return "<cvParam cvRef=\"MS\" accession=\"" + std::string(accession) + "\" name=\"" + name +
               "\"" + rest + "/>\n";
    };
    const auto array = [&](const std::vector<double>& values, const char* accession,
                           const char* name) {
        const std::string text = encodedDoubles(values, false);
        return "<binaryDataArray encodedLength=\"" + std::to_string(text.size()) + "\">\n" +
               param("MS:1000523", "64-bit float", "") + param("MS:1000576", "no compression", "") +
               param(accession, name, "") + "<binary>" + text + "</binary></binaryDataArray>\n";
    };
    std::string out = "<spectrum index=\"" + std::to_string(i) +
                      "\" id=\"scan=" + std::to_string(i + 1) + "\" defaultArrayLength=\"" +
                      std::to_string(s.mz.size()) + "\">\n";
    if (s.msLevel > 0) {
        out += param("MS:1000511", "ms level", " value=\"" + std::to_string(s.msLevel) + "\"");
    }
    if (!s.representation.empty()) {
        out += param(s.representation == "centroid" ? "MS:1000127" : "MS:1000128",
                     s.representation + " spectrum", "");
    }
    if (s.minutes >= 0) {
        out += "<scanList count=\"1\"><scan>" +
               param("MS:1000016", "scan start time",
                     " value=\"" + std::to_string(s.minutes) +
                         "\" unitCvRef=\"UO\" unitAccession=\"UO:0000031\" unitName=\"minute\"") +
               "</scan></scanList>\n";
    }
    return out + "<binaryDataArrayList count=\"2\">\n" + array(s.mz, "MS:1000514", "m/z array") +
           array(s.intensity, "MS:1000515", "intensity array") +
           "</binaryDataArrayList>\n</spectrum>\n";
}

// A small but complete mzML document, with an index as asked.
inline std::string mzmlDocument(const std::vector<TestSpectrum>& spectra, MzmlIndex index) {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    if (index != MzmlIndex::None) {
        out += "<indexedmzML xmlns=\"http://psi.hupo.org/ms/mzml\">\n";
    }
    out += "<mzML xmlns=\"http://psi.hupo.org/ms/mzml\" version=\"1.1.0\">\n"
           "<cvList count=\"1\"><cv id=\"MS\" fullName=\"PSI-MS\" URI=\"ms.obo\"/></cvList>\n"
           "<fileDescription><fileContent/></fileDescription>\n"
           "<softwareList count=\"1\"><software id=\"t\" version=\"1\"/></softwareList>\n"
           "<instrumentConfigurationList count=\"1\"><instrumentConfiguration id=\"IC\"/>"
           "</instrumentConfigurationList>\n<dataProcessingList count=\"1\"><dataProcessing "
           "id=\"DP\"><processingMethod order=\"0\" softwareRef=\"t\"/></dataProcessing>"
           "</dataProcessingList>\n<run id=\"r\" defaultInstrumentConfigurationRef=\"IC\">\n"
           "<spectrumList count=\"" +
           std::to_string(spectra.size()) + "\" defaultDataProcessingRef=\"DP\">\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < spectra.size(); ++i) {
        offsets.push_back(out.size());
        out += mzmlSpectrum(spectra[i], i);
    }
    out += "</spectrumList>\n</run>\n</mzML>\n";
    if (index == MzmlIndex::None) {
        return out;
    }
    const std::size_t pastEnd = 1000000;
    const std::size_t listOffset = out.size() + (index == MzmlIndex::IndexPastEnd ? pastEnd : 0);
    out += "<indexList count=\"1\">\n<index name=\"spectrum\">\n";
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        const std::size_t offset = offsets[i] + (index == MzmlIndex::OffsetsPastEnd ? pastEnd : 0);
        out += "<offset idRef=\"scan=" + std::to_string(i + 1) + "\">" + std::to_string(offset) +
               "</offset>\n";
    }
    return out + "</index>\n</indexList>\n<indexListOffset>" + std::to_string(listOffset) +
           "</indexListOffset>\n</indexedmzML>\n";
}

// A small mzXML document: interleaved m/z-intensity pairs in network byte order, as mzXML has them.
inline std::string mzxmlDocument(const std::vector<TestSpectrum>& spectra) {
    std::string out = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<mzXML "
                      "xmlns=\"http://sashimi.sourceforge.net/schema_revision/mzXML_3.2\">\n"
                      "<msRun scanCount=\"" +
                      std::to_string(spectra.size()) + "\">\n";
    for (std::size_t i = 0; i < spectra.size(); ++i) {
        const TestSpectrum& s = spectra[i];
        std::vector<double> pairs;
        for (std::size_t k = 0; k < s.mz.size(); ++k) {
            pairs.insert(pairs.end(), {s.mz[k], s.intensity[k]});
        }
        out += "<scan num=\"" + std::to_string(i + 1) + "\" msLevel=\"" +
               std::to_string(s.msLevel) + "\" peaksCount=\"" + std::to_string(s.mz.size()) +
               "\" centroided=\"" + (s.representation == "centroid" ? "1" : "0") +
               "\" retentionTime=\"PT" + std::to_string(s.minutes * 60) +
               "S\">\n"
               "<peaks precision=\"64\" byteOrder=\"network\" compressionType=\"none\" "
               "compressedLen=\"0\" contentType=\"m/z-int\">" +
               encodedDoubles(pairs, true) + "</peaks>\n</scan>\n";
    }
    return out + "</msRun>\n</mzXML>\n";
}

} // namespace orvane::measured::testing
