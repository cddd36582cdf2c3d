#include "data/text_grid.h"

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

} // namespace
} // namespace orvane::data
