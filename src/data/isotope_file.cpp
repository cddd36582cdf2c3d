#include "data/isotope_file.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_file_reader.h"
#include "data/tab_splitter.h"
#include "text/error.h"
#include "text/trim.h"

namespace orvane::data {

namespace {

std::string readWhole(const std::string& path) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        throw text::Error::fromErrno(errno);
    }
    std::string contents;
    char block[65536];
    while (const std::size_t got = std::fread(block, 1, sizeof block, file.get())) {
        contents.append(block, got);
    }
    if (std::ferror(file.get()) != 0) {
        throw text::Error::fromErrno(errno);
    }
    return contents;
}

// Reads the whole file; returns why it was refused, or "".
std::string readIsotopes(const std::string& dataDirectory, const std::string& fileName,
                         std::vector<KnownIsotope>& isotopes) {
    const std::string path = dataFilePath(dataDirectory, fileName);
    if (!isRegularFile(path)) {
        return fileName + " was not found in " + dataDirectory;
    }
    try {
        // read whole, two thousand short lines at every start; a CR before the LF goes with
        // the blanks the fields are trimmed of, and 0x1A ends the data as in the other files
        std::string contents = readWhole(path);
        const std::size_t dataEnd = contents.find('\x1a');
        const bool endMarked = dataEnd != std::string::npos;
        contents.resize(std::min(dataEnd, contents.size()));
        std::string_view rest = contents;
        int r = 0;
        while (!rest.empty()) {
            const std::size_t end = std::min(rest.find('\n'), rest.size());
            const bool lineEnded = end < rest.size();
            const std::string_view line = rest.substr(0, end);
            rest.remove_prefix(std::min(end + 1, rest.size()));
            ++r;
            const std::string where = fileName + ", line " + std::to_string(r) + ": ";
            // every line the file was written with ends; a last mass without its line end is
            // a copy cut short, whose number would be taken wrong without a word
            if (!lineEnded && !endMarked &&
                !text::trimBlanks(line).empty()) {
                return where + "the line has no end; the file seems cut short";
            }
            const std::vector<std::string_view> fields = splitTabs(line);
            if (fields.size() != 3) {
                return where + std::to_string(fields.size()) + " fields, not 3";
            }
            KnownIsotope isotope;
            isotope.symbol = std::string(text::trimBlanks(fields[0]));
            const std::string number(text::trimBlanks(fields[1]));
            const std::string mass(text::trimBlanks(fields[2]));
            // two thousand lines at every start: read without the locale's machinery
            const auto numberRead =
                std::from_chars(number.data(), number.data() + number.size(), isotope.massNumber);
            if (number.empty() || numberRead.ec != std::errc() ||
                numberRead.ptr != number.data() + number.size()) {
                return where + "the mass number \"" + number + "\" is not a whole number";
            }
            const auto massRead =
                std::from_chars(mass.data(), mass.data() + mass.size(), isotope.mass);
            if (mass.empty() || massRead.ec != std::errc() ||
                massRead.ptr != mass.data() + mass.size()) {
                return where + "the mass \"" + mass + "\" is not a number";
            }
            if (isotope.symbol.empty() || isotope.massNumber < 1 ||
                !(std::fabs(isotope.mass - static_cast<double>(isotope.massNumber)) <= 0.5)) {
                return where + "the mass " + mass + " does not belong to mass number " + number;
            }
            isotopes.push_back(std::move(isotope));
        }
    } catch (const text::Error& error) {
        return fileName + " could not be read from " + dataDirectory + ": " + error.what();
    }
    return {};
}

// Reads the file into `isotopes` and `problem`: all its isotopes, or none and the problem.
void loadIsotopeList(const std::string& dataDirectory, const std::string& fileName,
                     std::vector<KnownIsotope>& isotopes, std::string& problem) {
    std::vector<KnownIsotope> read;
    problem = readIsotopes(dataDirectory, fileName, read);
    isotopes = problem.empty() ? std::move(read) : std::vector<KnownIsotope>{};
}

} // namespace

void loadIsotopeFile(const std::string& dataDirectory, DataTables& tables) {
    loadIsotopeList(dataDirectory, isotopeFileName, tables.knownIsotopes,
                    tables.isotopeFileProblem);
}

const KnownIsotope* findIsotope(const std::vector<KnownIsotope>& isotopes, std::string_view symbol,
                                long long massNumber) {
    // the mass number first: a few isotopes of other elements share it, and it costs an
    // integer compare where the symbol costs a string's
    const auto found = std::find_if(isotopes.begin(), isotopes.end(), [&](const KnownIsotope& k) {
        return k.massNumber == massNumber && k.symbol == symbol;
    });
    return found == isotopes.end() ? nullptr : &*found;
}

} // namespace orvane::data
