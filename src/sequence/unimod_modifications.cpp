#include "sequence/unimod_modifications.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <exception>
#include <map>
#include <utility>
#include <vector>

#include "pwiz/data/common/cv.hpp"

namespace orvane::sequence {

namespace {

// Unimod's bricks that are not elements: the monosaccharide residues and groups its glycan
// and other compositions are written in, each with the atoms Unimod defines for it.
struct Brick {
    std::string_view name;
    std::vector<std::pair<std::string_view, long long>> atoms;
};

const std::vector<Brick>& bricks() {
    static const std::vector<Brick> table{
        {"Hex", {{"C", 6}, {"H", 10}, {"O", 5}}},
        {"HexNAc", {{"C", 8}, {"H", 13}, {"N", 1}, {"O", 5}}},
        {"HexN", {{"C", 6}, {"H", 11}, {"N", 1}, {"O", 4}}},
        {"HexA", {{"C", 6}, {"H", 8}, {"O", 6}}},
        {"dHex", {{"C", 6}, {"H", 10}, {"O", 4}}},
        {"Hep", {{"C", 7}, {"H", 12}, {"O", 6}}},
        {"Pent", {{"C", 5}, {"H", 8}, {"O", 4}}},
        {"NeuAc", {{"C", 11}, {"H", 17}, {"N", 1}, {"O", 8}}},
        {"NeuGc", {{"C", 11}, {"H", 17}, {"N", 1}, {"O", 9}}},
        {"Kdn", {{"C", 9}, {"H", 14}, {"O", 8}}},
        {"Me", {{"C", 1}, {"H", 2}}},
        {"Ac", {{"C", 2}, {"H", 2}, {"O", 1}}},
        {"Sulf", {{"O", 3}, {"S", 1}}},
        {"Phos", {{"H", 1}, {"O", 3}, {"P", 1}}},
    };
    return table;
}

std::string lowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// The Unimod terms of the controlled vocabulary that ProteoWizard carries, by name.
struct NameIndex {
    std::map<std::string, pwiz::cv::CVID, std::less<>> exact;
    std::map<std::string, pwiz::cv::CVID, std::less<>> lower;
};

const NameIndex& nameIndex() {
    static const NameIndex index = [] {
        NameIndex built;
        for (const pwiz::cv::CVID cvid : pwiz::cv::cvids()) {
            const pwiz::cv::CVTermInfo& term = pwiz::cv::cvTermInfo(cvid);
            if (term.prefix() != "UNIMOD" || term.isObsolete) {
                continue;
            }
            built.exact.emplace(term.name, cvid);
            built.lower.emplace(lowerCase(term.name), cvid);
        }
        return built;
    }();
    return index;
}

UnimodModification modificationOf(const pwiz::cv::CVTermInfo& term) {
    UnimodModification modification;
    modification.name = term.name;
    const std::string_view id = term.id;
    const std::size_t colon = id.find(':');
    std::from_chars(id.data() + colon + 1, id.data() + id.size(), modification.accession);
    const auto composition = term.propertyValues.find("delta_composition");
    if (composition != term.propertyValues.end()) {
        modification.delta = unimodComposition(composition->second);
    }
    return modification;
}

// Unimod records that ProteoWizard's copy of Unimod lacks, as Unimod's own unimod.xml gives
// them (the copy openms-common 2.6 ships, whose records of 99900 and above are OpenMS's own
// and not Unimod's): title, accession and delta composition.
struct MissingRecord {
    std::string_view title;
    long long accession;
    std::string_view composition;
};

constexpr std::array<MissingRecord, 1> missingRecords{{
    {"Ethoxyformyl", 915, "H(4) C(3) O(2)"},
}};

std::optional<UnimodModification> missingRecord(auto matches) {
    for (const MissingRecord& record : missingRecords) {
        if (matches(record)) {
            return UnimodModification{std::string(record.title), record.accession,
                                      unimodComposition(record.composition)};
        }
    }
    return std::nullopt;
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::optional<UnimodModification> unimodByName(std::string_view name) {
    const NameIndex& index = nameIndex();
    auto found = index.exact.find(name);
    if (found == index.exact.end()) {
        found = index.lower.find(lowerCase(name));
        if (found == index.lower.end()) {
            return missingRecord([&](const MissingRecord& record) {
                return lowerCase(record.title) == lowerCase(name);
            });
        }
    }
    return modificationOf(pwiz::cv::cvTermInfo(found->second));
}

std::optional<UnimodModification> unimodByAccession(long long accession) {
    if (accession <= 0) {
        return std::nullopt; // 0 is the root of Unimod's terms, no modification
    }
    const std::string id = "UNIMOD:" + std::to_string(accession);
    try {
        const pwiz::cv::CVTermInfo& term = pwiz::cv::cvTermInfo(id);
        if (term.cvid != pwiz::cv::CVID_Unknown && term.id == id && !term.isObsolete) {
            return modificationOf(term);
        }
    } catch (const std::exception&) {
        // ProteoWizard throws for an accession it does not know
    }
    return missingRecord(
        [accession](const MissingRecord& record) { return record.accession == accession; });
}

std::optional<SequenceComposition> unimodComposition(std::string_view text) {
    SequenceComposition composition;
    std::size_t at = 0;
    bool any = false;
    while (at < text.size()) {
        if (text[at] == ' ') {
            ++at;
            continue;
        }
        long long massNumber = 0;
        const std::size_t numberStart = at;
        while (at < text.size() && isDigit(text[at])) {
            ++at;
        }
        if (at > numberStart) {
            std::from_chars(text.data() + numberStart, text.data() + at, massNumber);
        }
        if (at >= text.size() || (!isUpper(text[at]) && !isLower(text[at]))) {
            return std::nullopt;
        }
        const std::size_t nameStart = at;
        while (at < text.size() && (isUpper(text[at]) || isLower(text[at]))) {
            ++at;
        }
        const std::string_view name = text.substr(nameStart, at - nameStart);
        long long count = 1;
        if (at < text.size() && text[at] == '(') {
            const std::size_t close = text.find(')', at);
            if (close == std::string_view::npos) {
                return std::nullopt;
            }
            const auto [end, error] =
                std::from_chars(text.data() + at + 1, text.data() + close, count);
            if (error != std::errc() || end != text.data() + close) {
                return std::nullopt;
            }
            at = close + 1;
        }
        const auto brick = std::find_if(bricks().begin(), bricks().end(),
                                        [&](const Brick& b) { return b.name == name; });
        if (brick != bricks().end()) {
            if (massNumber != 0) {
                return std::nullopt;
            }
            for (const auto& [symbol, atoms] : brick->atoms) {
                composition.addAtoms(symbol, atoms * count);
            }
        } else if (name.size() > 2 || !isUpper(name[0]) ||
                   (name.size() == 2 && !isLower(name[1]))) {
            return std::nullopt; // neither an element symbol nor a brick
        } else if (massNumber != 0) {
            composition.addLabel(name, massNumber, count);
        } else {
            composition.addAtoms(name, count);
        }
        any = true;
    }
    if (!any) {
        return std::nullopt;
    }
    return composition;
}

} // namespace orvane::sequence
