#include "data/text_grid.h"

#include <utility>

#include <gtest/gtest.h>

namespace orvane::data {
namespace {

TEST(TextGrid, NeverWrittenCellsAreEmpty) {
    const TextGrid grid(3, 2);
    EXPECT_EQ(grid.columnCount(), 3);
    EXPECT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.cell(0, 0), "");
    EXPECT_EQ(grid.cell(2, 1), "");
    EXPECT_EQ(grid.cell(50, 70), "");
    EXPECT_EQ(grid.cell(-1, 0), "");
    EXPECT_EQ(grid.cell(0, -1), "");
}

TEST(TextGrid, WritesAndOverwritesCells) {
    TextGrid grid(2, 2);
    grid.setCell(1, 0, "a");
    grid.setCell(0, 1, "b");
    grid.setCell(1, 0, "c");
    EXPECT_EQ(grid.cell(1, 0), "c");
    EXPECT_EQ(grid.cell(0, 1), "b");
    EXPECT_EQ(grid.cell(0, 0), "");
    EXPECT_EQ(grid.cell(1, 1), "");
}

TEST(TextGrid, CellsBeyondTheShownSizeStayStored) {
    TextGrid grid(21, 3);
    grid.setCell(24, 1, "beyond");
    EXPECT_EQ(grid.columnCount(), 21);
    EXPECT_EQ(grid.cell(24, 1), "beyond");

    grid.setColumnCount(5);
    grid.setRowCount(1);
    grid.setCell(4, 0, "kept");
    EXPECT_EQ(grid.cell(24, 1), "beyond");
    grid.setColumnCount(30);
    grid.setRowCount(3);
    EXPECT_EQ(grid.cell(24, 1), "beyond");
    EXPECT_EQ(grid.cell(4, 0), "kept");
    EXPECT_EQ(grid.cell(25, 1), "");
}

// What is read from a grid may be kept under its revision: equal revisions must mean equal
// cells, however the grids came to be.
TEST(TextGrid, EqualRevisionsAreEqualCells) {
    TextGrid grid(2, 2);
    grid.setCell(1, 1, "a");
    TextGrid copy = grid;
    EXPECT_EQ(copy.revision(), grid.revision());
    const auto changes = [&grid](const auto& change) {
        const auto before = grid.revision();
        change();
        return grid.revision() != before;
    };
    EXPECT_TRUE(changes([&] { grid.setCell(0, 0, "b"); }));
    EXPECT_TRUE(changes([&] { grid.setCell(0, 0, "b"); })); // the same text again counts
    EXPECT_TRUE(changes([&] { grid.setColumnCount(3); }));
    EXPECT_TRUE(changes([&] { grid.setRowCount(1); }));
    EXPECT_NE(grid.revision(), copy.revision());
    EXPECT_NE(TextGrid(2, 2).revision(), TextGrid(2, 2).revision()); // built apart

    // a grid moved from has lost its cells, and so its revision
    const auto copyRevision = copy.revision();
    TextGrid target = std::move(copy);
    EXPECT_EQ(target.revision(), copyRevision);
    EXPECT_EQ(target.cell(1, 1), "a");
    EXPECT_NE(copy.revision(), copyRevision); // NOLINT(bugprone-use-after-move)
    TextGrid assigned(1, 1);
    assigned = std::move(target);
    EXPECT_EQ(assigned.revision(), copyRevision);
    EXPECT_NE(target.revision(), copyRevision); // NOLINT(bugprone-use-after-move)
}

} // namespace
} // namespace orvane::data
