#include "app/table_copy.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <functional>

namespace orvane::app {

namespace {

QString cellText(const QAbstractItemModel& model, int row, int column) {
    return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

QString quotedFor(const QString& text, QChar separator) {
    if (separator == QLatin1Char('\t') ||
        (!text.contains(separator) && !text.contains(QLatin1Char('"')) &&
         !text.contains(QLatin1Char('\n')))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString rowsText(const QAbstractItemModel& model, const QList<int>& rows, QChar separator) {
    QStringList lines;
    QStringList header;
    for (int column = 0; column < model.columnCount(); ++column) {
        header.append(quotedFor(model.headerData(column, Qt::Horizontal).toString(), separator));
    }
    lines.append(header.join(separator));
    for (const int row : rows) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column) {
            cells.append(quotedFor(cellText(model, row, column), separator));
        }
        lines.append(cells.join(separator));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<int> allRows(const QAbstractItemModel& model) {
    QList<int> rows;
    for (int row = 0; row < model.rowCount(); ++row) {
        rows.append(row);
    }
    return rows;
}

} // namespace

QString selectedRowsText(const QAbstractItemView& view) {
    const QAbstractItemModel* model = view.model();
    if (model == nullptr) {
        return {};
    }
    QList<int> rows;
    if (const QItemSelectionModel* selection = view.selectionModel(); selection != nullptr) {
        QSet<int> seen;
        for (const QModelIndex& index : selection->selectedIndexes()) {
            if (!seen.contains(index.row())) {
                seen.insert(index.row());
                rows.append(index.row());
            }
        }
    }
    std::sort(rows.begin(), rows.end());
    return rowsText(*model, rows.isEmpty() ? allRows(*model) : rows, QLatin1Char('\t'));
}

QString tableText(const QAbstractItemModel& model, QChar separator) {
    return rowsText(model, allRows(model), separator);
}

namespace {

// A "Copy" entry of the widget's context menu, also Ctrl+C while the widget has the focus.
void addCopyAction(QWidget& widget, const QString& text, const char* name,
                   const std::function<QString()>& copied) {
    widget.setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(text, &widget);
    copy->setObjectName(QLatin1String(name));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    widget.addAction(copy);
    QObject::connect(copy, &QAction::triggered, &widget,
                     [copied] { QGuiApplication::clipboard()->setText(copied()); });
}

} // namespace

void makeValueCopyable(QLabel& label) {
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label.setFocusPolicy(Qt::ClickFocus);
    addCopyAction(label, QStringLiteral("Copy value"), "CopyValue", [&label] {
        const QString selected = label.selectedText();
        return selected.isEmpty() ? label.text() : selected;
    });
}

void makeTableCopyable(QAbstractItemView& view) {
    addCopyAction(view, QStringLiteral("Copy"), "CopyRows",
                  [&view] { return selectedRowsText(view); });
}

} // namespace orvane::app
