#include <string>

#include <gtest/gtest.h>

#include "data/data_tables.h"
#include "session/session_test_support.h"
#include "text/error.h"

namespace orvane::session {
namespace {

// A cell edited through the count dialog may be a symbol or a weight: a formula typed
// afterwards reads the table as it now stands, as the counts do.
TEST(EditedTable, TypedFormulasReadTheEditedSymbolsAndWeights) {
    testing::ShippedSession shipped("H2O");
    Session& session = shipped.session;
    const int carbon = 6;
    ASSERT_EQ(session.state().tables.elements.cell(carbon, data::SymbolRow), "C");

    session.enterCell(carbon, data::SymbolRow, "Q");
    session.enterFormula("Q2H4");
    EXPECT_EQ(session.state().texts.formulaText, "H4Q2");
    EXPECT_EQ(shipped.ion("[M+H]+").ionFormula, "H5Q2");
    EXPECT_THROW(session.enterFormula("C2H4"), text::Error);

    // the typed counts are weighed with the weight as edited
    session.enterCell(carbon, data::WeightRow, "13");
    session.enterFormula("Q1");
    EXPECT_EQ(session.state().texts.weightText, "13");
}

} // namespace
} // namespace orvane::session
