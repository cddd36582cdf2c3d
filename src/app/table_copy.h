#pragma once

#include <QString>

class QAbstractItemModel;
class QAbstractItemView;
class QLabel;

namespace orvane::app {

/// The rows of `view` that have a selected cell, as TAB-separated text with the header line
/// first; every row when nothing is selected.
QString selectedRowsText(const QAbstractItemView& view);

/// The table as text with `separator` between the cells ("\t" or ","; a cell holding the
/// separator or a quote is quoted for CSV), the header line first.
QString tableText(const QAbstractItemModel& model, QChar separator);

/// Lets the user copy a summary value: Ctrl+C while it has the focus or a selection, and
/// "Copy value" in its context menu, copy its selected text, else the whole value.
void makeValueCopyable(QLabel& label);

/// Ctrl+C and a context menu "Copy" on a table: selectedRowsText to the clipboard.
void makeTableCopyable(QAbstractItemView& view);

} // namespace orvane::app
