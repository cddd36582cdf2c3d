#include "calc/ms_data_grid.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orvane::calc {
namespace {

TEST(MsDataGrid, RowsShowIndexValueAndFlag) {
    MsDataGrid grid;
    grid.refill({7.0, 0.5, 0.0, 300.0, 1.5e-20, 1e-18, 9.9e-19, -2.0});
    EXPECT_EQ(grid.rowCount(), 8);
    struct Row {
        int row;
        std::string index;
        std::string value;
        std::string flag;
    };
    const Row rows[] = {
        {1, "1", "0.500000000000000000", "Calcd"},
        {2, "2", "0", ""},
        {3, "3", "300.000000000000000000", "Calcd"},
        {4, "4", "1.5E-20", "Calcd"},
        {5, "5", "0.000000000000000001", "Calcd"},
        {6, "6", "9.9E-19", "Calcd"},
        {7, "7", "-2", "Calcd"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        EXPECT_EQ(grid.cell(0, r.row, '.'), r.index);
        EXPECT_EQ(grid.cell(1, r.row, '.'), r.value);
        EXPECT_EQ(grid.cell(2, r.row, '.'), r.flag);
    }
    EXPECT_EQ(grid.cell(1, 1, ','), "0,500000000000000000");
    EXPECT_EQ(grid.value(3), 300.0);
}

TEST(MsDataGrid, HeaderRowAndCellsOutsideAreEmpty) {
    MsDataGrid grid;
    grid.refill({7.0, 1.0});
    const int outside[][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 2}, {1, -1}, {3, 1}, {-1, 1}};
    for (const auto& cell : outside) {
        SCOPED_TRACE(testing::Message() << cell[0] << "," << cell[1]);
        EXPECT_EQ(grid.cell(cell[0], cell[1], '.'), "");
    }
    EXPECT_EQ(grid.value(0), 0.0);
    EXPECT_EQ(grid.value(2), 0.0);
}

TEST(MsDataGrid, BlankKeepsTheRowCount) {
    MsDataGrid grid;
    EXPECT_TRUE(grid.isBlank());
    EXPECT_EQ(grid.cell(0, 1, '.'), "");
    grid.refill({0.0, 1.0, 2.0, 3.0});
    EXPECT_FALSE(grid.isBlank());
    grid.blank();
    EXPECT_TRUE(grid.isBlank());
    EXPECT_EQ(grid.rowCount(), 4);
    for (int column = 0; column < MsDataGrid::columnCount; ++column) {
        EXPECT_EQ(grid.cell(column, 2, '.'), "");
    }
    EXPECT_EQ(grid.value(2), 0.0);
}

TEST(MsDataGrid, PartialRefillReadsZeroOutsideItsPart) {
    const std::vector<double> part = {4.0, 5.0};
    MsDataGrid grid;
    grid.refill(6, 2, part);
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_EQ(grid.value(2), 4.0);
    EXPECT_EQ(grid.value(3), 5.0);
    EXPECT_EQ(grid.value(4), 0.0);
    EXPECT_EQ(grid.cell(0, 5, '.'), "5");
    EXPECT_EQ(grid.cell(1, 5, '.'), "0");
    EXPECT_EQ(grid.cell(2, 1, '.'), "");
    EXPECT_EQ(grid.cell(2, 3, '.'), "Calcd");
    // no part: every row reads 0
    grid.refill(6, 0, {});
    EXPECT_EQ(grid.rowCount(), 6);
    EXPECT_FALSE(grid.isBlank());
    EXPECT_EQ(grid.value(2), 0.0);
    EXPECT_EQ(grid.cell(1, 2, '.'), "0");
}

} // namespace
} // namespace orvane::calc
