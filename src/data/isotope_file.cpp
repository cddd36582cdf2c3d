#include "data/isotope_file.h"

#include <cmath>
#include <string_view>
#include <utility>
#include <vector>

#include "data/data_file_reader.h"
#include "data/tab_splitter.h"
#include "text/error.h"
#include "text/number_parse.h"
#include "text/trim.h"

namespace orvane::data {

namespace {

// Reads the whole file; returns why it was refused, or "".
std::string readIsotopes(const std::string& dataDirectory, std::vector<KnownIsotope>& isotopes) {
    const std::string path = dataFilePath(dataDirectory, isotopeFileName);
    if (!isRegularFile(path)) {
        return std::string(isotopeFileName) + " was not found in " + dataDirectory;
    }
    try {
        DataFileReader reader(path);
        std::string line;
        int r = 0;
        while (reader.readLine(line)) {
            ++r;
            const std::string where =
                std::string(isotopeFileName) + ", line " + std::to_string(r) + ": ";
            const std::vector<std::string_view> fields = splitTabs(line);
            if (fields.size() != 3) {
                return where + std::to_string(fields.size()) + " fields, not 3";
            }
            KnownIsotope isotope;
            isotope.symbol = std::string(text::trimBlanks(fields[0]));
            const std::string number(text::trimBlanks(fields[1]));
            const std::string mass(text::trimBlanks(fields[2]));
            try {
                isotope.massNumber = text::parseInteger(number);
            } catch (const text::Error&) {
                return where + "the mass number \"" + number + "\" is not a whole number";
            }
            try {
                isotope.mass = text::parseReal(mass, '.');
            } catch (const text::Error&) {
                return where + "the mass \"" + mass + "\" is not a number";
            }
            if (isotope.symbol.empty() || isotope.massNumber < 1 ||
                !(std::fabs(isotope.mass - static_cast<double>(isotope.massNumber)) <= 0.5)) {
                return where + "the mass " + mass + " does not belong to mass number " + number;
            }
            isotopes.push_back(std::move(isotope));
        }
    } catch (const text::Error& error) {
        return std::string(isotopeFileName) + " could not be read from " + dataDirectory + ": " +
               error.what();
    }
    return {};
}

} // namespace

void loadIsotopeFile(const std::string& dataDirectory, DataTables& tables) {
    std::vector<KnownIsotope> isotopes;
    std::string problem = readIsotopes(dataDirectory, isotopes);
    tables.knownIsotopes = problem.empty() ? std::move(isotopes) : std::vector<KnownIsotope>{};
    tables.isotopeFileProblem = std::move(problem);
}

} // namespace orvane::data
