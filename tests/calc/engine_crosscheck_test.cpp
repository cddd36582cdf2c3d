#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "calc/composition_summary.h"
#include "calc/isotope_engine.h"
#include "calc_test_support.h"
#include "data/data_tables.h"
#include "literal_engine.h"
#include "text/error.h"

// The engine against the plain sweep of literal_engine.cpp: every double must agree to
// the last bit, and both must stop with the same message at the same point.

namespace orvane::calc {
namespace {

using support::ElementCells;
using support::IsotopeCells;

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

const std::string refusedLength = "The formula cannot be computed";

// Runs both engines on one composition and compares all they leave. A formula whose array
// length is not positive is refused by the engine alone (the plain sweep cannot run it).
void expectSameAsLiteral(support::Summary& composition, const data::TextGrid& isotopes,
                         char separator = '.') {
    PatternState pattern;
    MsDataGrid msData;
    support::MsRangeFields msRange;
    std::string error;
    try {
        support::runEngine(composition, isotopes, separator, pattern, msData, msRange);
    } catch (const text::Error& e) {
        error = e.what();
    }
    if (error.starts_with(refusedLength)) {
        return;
    }
    support::LiteralRun literal;
    std::string literalError;
    try {
        support::runLiteralEngine(composition, isotopes, separator, literal);
    } catch (const text::Error& e) {
        literalError = e.what();
    }
    ASSERT_EQ(error, literalError);

    EXPECT_EQ(msRange.edit5, literal.msRange.edit5);
    EXPECT_EQ(msRange.edit6, literal.msRange.edit6);
    EXPECT_EQ(msData.isBlank(), literal.gridRefills == 0);
    if (literal.gridRefills > 0) {
        ASSERT_EQ(msData.rowCount(), static_cast<int>(literal.grid.size()));
        for (int r = 1; r < msData.rowCount(); ++r) {
            ASSERT_TRUE(sameBits(msData.value(r), literal.grid[static_cast<std::size_t>(r)]))
                << "grid row " << r << ": " << msData.value(r) << " vs "
                << literal.grid[static_cast<std::size_t>(r)];
        }
    }
    if (!error.empty()) {
        EXPECT_FALSE(pattern.exists());
        return;
    }
    EXPECT_EQ(pattern.n0, literal.n0);
    EXPECT_EQ(pattern.w, literal.w);
    ASSERT_EQ(pattern.p.size(), literal.p.size());
    for (std::size_t i = 0; i < pattern.p.size(); ++i) {
        ASSERT_TRUE(sameBits(pattern.p[i], literal.p[i]))
            << "P[" << i << "]: " << pattern.p[i] << " vs " << literal.p[i];
    }
    EXPECT_TRUE(sameBits(pattern.centroid, literal.centroid))
        << pattern.centroid << " vs " << literal.centroid;
}

void expectSameAsLiteral(const std::vector<ElementCells>& cells,
                         const std::vector<IsotopeCells>& rows) {
    data::TextGrid elements = support::elementTable(cells);
    support::Summary composition;
    MsDataGrid msData;
    support::summarise(elements, 1, '.', composition, msData);
    expectSameAsLiteral(composition, support::isotopeTable(rows));
}

TEST(EngineCrossCheck, WorkedExamplesAndIndexLimits) {
    struct Case {
        std::string name;
        std::vector<ElementCells> elements;
        std::vector<IsotopeCells> rows;
    };
    const IsotopeCells carbon{"1", {"1"}, {"98.9", "1.1"}};
    const Case cases[] = {
        {"A", {{"Cl", "35.45", "2"}}, {{"2", {"2"}, {"75.77", "24.23"}}}},
        {"B",
         {{"C", "12.011", "2"}, {"Br", "79.904", "1"}},
         {carbon, {"1", {"-1", "1"}, {"0", "50.69", "49.31"}}}},
        {"C", {{"Cl", "35.45", "1"}}, {{"1", {"2"}, {"75.77", "24.23"}}}},
        {"D", {{"C", "12.011", "0"}}, {carbon}},
        // N0 - W = -1: the window starts below the array
        {"light and wide", {{"H", "1.008", "1"}}, {{"2", {"1"}, {"99.9885", "0.0115"}}}},
        {"below the array", {{"X", "1", "3"}}, {{"1", {"-3", "1"}, {"50", "30", "20"}}}},
        {"offsets wider than the width",
         {{"X", "20", "4"}, {"Y", "3", "2"}},
         {{"1", {"3", "-2", "1"}, {"60", "10", "10", "20"}},
          {"0", {"-4", "4"}, {"50", "25", "25"}}}},
        {"equal offsets keep slot order",
         {{"X", "30", "5"}},
         {{"2", {"1", "1", "0", "2"}, {"33.3", "11.1", "22.2", "13.4", "20"}}}},
        {"tiny abundances underflow",
         {{"X", "50", "12"}},
         {{"3", {"1", "2", "3"}, {"99", "1e-120", "1e-200", "1"}}}},
        {"negative abundance", {{"X", "20", "3"}}, {{"2", {"1", "2"}, {"80", "-5", "25"}}}},
        // A scales P[N0] to 30; B's first term to N0 + 1 rounds to -0, and the +0 term of
        // the empty P[N0 + 1] that follows makes it +0
        {"negative zero",
         {{"A", "10", "1"}, {"B", "5", "1"}},
         {{"0", {}, {"10"}}, {"1", {"1"}, {"50", "-5e-324"}}}},
        {"sums near the double range",
         {{"X", "10", "1"}},
         {{"1", {"2", "1"}, {"50", "3e307", "1"}}}},
        {"overflow outside the window", {{"X", "10", "1"}}, {{"1", {"2"}, {"50", "1e308"}}}},
        {"all abundances zero", {{"X", "10", "2"}}, {{"1", {"1"}, {"0", "0"}}}},
        {"negative width", {{"X", "10", "1"}}, {{"-1", {"1"}, {"50", "50"}}}},
        {"monoisotopic", {{"F", "19", "7"}, {"C", "12", "3"}}, {{"0", {}, {"100"}}, carbon}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        expectSameAsLiteral(c.elements, c.rows);
    }
}

// "<whole>.<fraction>" without the fraction when it is 0.
std::string decimal(int whole, int fraction) {
    std::string text = std::to_string(whole);
    if (fraction != 0) {
        text += '.';
        text += std::to_string(fraction);
    }
    return text;
}

// Small random formulas with random isotope rows: negative offsets, zero and tiny
// abundances, widths narrower than the offsets, fractional counts.
TEST(EngineCrossCheck, RandomFormulas) {
    std::mt19937 random(20240607);
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const char* counts[] = {"0.3", "0.5", "1", "1.5", "2", "2.5", "3", "3.5", "4", "6", "9", "17"};
    const char* odd[] = {"1e-200", "3.5e-120", "1e-300", "-2.5", "1e-5", "0.0115", "-1e-310"};
    for (int round = 0; round < 400; ++round) {
        SCOPED_TRACE(round);
        std::vector<ElementCells> elements;
        std::vector<IsotopeCells> rows;
        const int n = pick(1, 3);
        for (int k = 0; k < n; ++k) {
            std::string symbol = "E";
            symbol += std::to_string(k);
            elements.push_back({symbol, decimal(pick(0, 40), pick(0, 999)), counts[pick(0, 11)]});
            IsotopeCells row;
            row.width = std::to_string(pick(0, 20) == 0 ? -1 : pick(0, 4));
            const int slots = pick(1, 10);
            for (int j = 0; j < slots; ++j) {
                if (j > 0) {
                    row.offsets.push_back(std::to_string(pick(-5, 5)));
                }
                const int kind = pick(0, 9);
                row.abundances.push_back(kind < 2   ? std::string("0")
                                         : kind < 3 ? std::string(odd[pick(0, 6)])
                                                    : decimal(pick(1, 99), pick(0, 9999)));
            }
            rows.push_back(row);
        }
        data::TextGrid table = support::elementTable(elements);
        support::Summary composition;
        MsDataGrid msData;
        support::summarise(table, 1, '.', composition, msData);
        const data::TextGrid isotopes = support::isotopeTable(rows);
        expectSameAsLiteral(composition, isotopes);
        if (testing::Test::HasFatalFailure()) {
            return;
        }
    }
}

// A real protein, a halogenated compound and single heavy elements (whose tails run
// through the subnormal range at both ends) with the shipped data files.
TEST(EngineCrossCheck, ShippedDataFiles) {
    support::ShippedTables shipped;
    const std::vector<std::vector<std::pair<std::string, std::string>>> formulas = {
        {{"C", "257"}, {"H", "383"}, {"N", "65"}, {"O", "77"}, {"S", "6"}}, // insulin
        {{"C", "20"}, {"H", "10"}, {"Br", "6"}, {"Cl", "4"}, {"Sn", "2"}},
        {{"Sn", "300"}},
        {{"Xe", "200"}},
    };
    for (const auto& formula : formulas) {
        SCOPED_TRACE(formula.front().second);
        support::Summary composition;
        shipped.summarise(formula, composition);
        expectSameAsLiteral(composition, shipped.tables.isotopes);
    }
}

} // namespace
} // namespace orvane::calc
