#pragma once

#include <QTableView>

namespace orvane::app {

/// Makes a table view look and behave like the system's text grids: read-only cells,
/// one current cell, a header row for the grid's row 0, no row labels, every row and
/// column the given fixed size (so that no row is ever measured).
void setUpGridView(QTableView& view, int rowHeight, int columnWidth);

} // namespace orvane::app
