#include <cmath>
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "data/abundance_file.h"
#include "data/element_file.h"
#include "support/recording_notifier.h"
#include "text/number_parse.h"

namespace orvane::data {
namespace {

// The data files shipped in share/orvane, loaded as the application loads them.
class ShippedDataFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(loadElementFile(ORVANE_SHARE_DIR, m_tables, m_notifier));
        loadAbundanceFile(ORVANE_SHARE_DIR, m_tables, m_notifier);
        ASSERT_TRUE(m_notifier.notices.empty()) << m_notifier.notices.front();
    }

    int offset(int row, int slot) const {
        return slot == 0
                   ? 0
                   : text::parseInteger(m_tables.isotopes.cell(FirstOffsetColumn + slot - 1, row));
    }
    double abundance(int row, int slot) const {
        return text::parseReal(m_tables.isotopes.cell(FirstAbundanceColumn + slot, row), '.');
    }

    DataTables m_tables;
    testing_support::RecordingNotifier m_notifier;
};

TEST_F(ShippedDataFiles, OneFullRowPerElement) {
    const int n = m_tables.elementCount;
    ASSERT_GT(n, 0);
    EXPECT_EQ(m_tables.elements.columnCount(), n + 1);
    EXPECT_EQ(m_tables.isotopes.rowCount(), n + 1);
    EXPECT_EQ(m_tables.isotopes.columnCount(), 21);
    for (int r = 1; r <= n; ++r) {
        SCOPED_TRACE(m_tables.elements.cell(r, SymbolRow));
        EXPECT_EQ(m_tables.isotopes.cell(ElemColumn, r), m_tables.elements.cell(r, SymbolRow));
        EXPECT_EQ(m_tables.isotopes.cell(21, r), "");
        EXPECT_GT(text::parseReal(m_tables.elements.cell(r, WeightRow), '.'), 0.0);
    }
}

TEST_F(ShippedDataFiles, AbundancesAddTo100AndFitTheWidth) {
    for (int r = 1; r <= m_tables.elementCount; ++r) {
        SCOPED_TRACE(m_tables.isotopes.cell(ElemColumn, r));
        const int width = text::parseInteger(m_tables.isotopes.cell(WidthColumn, r));
        double total = 0.0;
        for (int slot = 0; slot < 10; ++slot) {
            const double x = abundance(r, slot);
            EXPECT_GE(x, 0.0) << "slot " << slot;
            total += x;
            EXPECT_LE(std::abs(offset(r, slot)), width) << "slot " << slot;
        }
        EXPECT_NEAR(total, 100.0, 100.0 * 1e-9);
    }
}

TEST_F(ShippedDataFiles, OffsetZeroSitsAtTheRoundedWeight) {
    // Mass numbers stay within a few tenths of the isotope masses, so the mean mass number
    // lands near the atomic weight only when offset 0 is the rounded weight.
    for (int r = 1; r <= m_tables.elementCount; ++r) {
        SCOPED_TRACE(m_tables.isotopes.cell(ElemColumn, r));
        const double weight = text::parseReal(m_tables.elements.cell(r, WeightRow), '.');
        double meanOffset = 0.0;
        for (int slot = 0; slot < 10; ++slot) {
            meanOffset += offset(r, slot) * abundance(r, slot) / 100.0;
        }
        EXPECT_NEAR(std::nearbyint(weight) + meanOffset, weight, 0.25);
    }
}

} // namespace
} // namespace orvane::data
