#include "app/grid_view_setup.h"

#include <QHeaderView>

namespace orvane::app {

void setUpGridView(QTableView& view, int rowHeight, int columnWidth) {
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectItems);
    view.setTabKeyNavigation(false);
    view.setWordWrap(false);
    // A text wider than its cell is cut at the cell's edge, not shortened with an ellipsis.
    view.setTextElideMode(Qt::ElideNone);
    view.setCornerButtonEnabled(false);

    QHeaderView* rows = view.verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(1);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(rowHeight);

    QHeaderView* columns = view.horizontalHeader();
    columns->setMinimumSectionSize(1);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setDefaultSectionSize(columnWidth);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setStretchLastSection(false);
    columns->setFixedHeight(rowHeight);
}

} // namespace orvane::app
