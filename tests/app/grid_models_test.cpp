#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <vector>

#include "app/ms_data_model.h"
#include "app/text_grid_model.h"
#include "calc/ms_data_grid.h"
#include "data/text_grid.h"
#include "test_registry.h"

namespace orvane::app::testing {

class GridModelsTest : public QObject {
    Q_OBJECT

private slots:
    void gridRowZeroIsTheHeader() {
        data::TextGrid grid(3, 4);
        grid.setCell(1, 0, "1");
        grid.setCell(1, 1, "H");
        grid.setCell(2, 3, "0");
        TextGridModel model(grid);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), 3);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("1"));
        QCOMPARE(model.data(model.index(0, 1)).toString(), QStringLiteral("H"));
        QCOMPARE(model.data(model.index(2, 2)).toString(), QStringLiteral("0"));
        QVERIFY(!model.data(model.index(5, 1)).isValid());
        QVERIFY(!model.headerData(7, Qt::Horizontal).isValid());
        QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    }

    void sizeChangeResetsAndCellChangeDoesNot() {
        data::TextGrid grid(113, 5);
        TextGridModel model(grid);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        QSignalSpy changes(&model, &QAbstractItemModel::dataChanged);

        grid.setCell(4, 3, "12");
        model.refresh();
        QCOMPARE(resets.count(), 0);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(model.data(model.index(2, 4)).toString(), QStringLiteral("12"));

        // Until the model is told, it keeps the size it announced.
        grid.setColumnCount(45);
        QCOMPARE(model.columnCount(), 113);
        model.refresh();
        QCOMPARE(resets.count(), 1);
        QCOMPARE(model.columnCount(), 45);

        grid.setRowCount(1); // only the header row left: no body rows
        model.refresh();
        QCOMPARE(model.rowCount(), 0);
    }

    void msDataRowsAreMadeFromTheValues() {
        calc::MsDataGrid grid;
        MsDataModel model(grid, '.');
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(model.rowCount(), 4); // the grid's designed 5 rows, header included
        QCOMPARE(model.columnCount(), 3);

        grid.refill({0, 0, 227.31, 0});
        model.refresh();
        QCOMPARE(model.rowCount(), 3);
        for (int row = 1; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) {
                QCOMPARE(model.data(model.index(row - 1, column)).toString(),
                         QString::fromStdString(grid.cell(column, row, '.')));
            }
        }
        QCOMPARE(model.data(model.index(1, 2)).toString(), QStringLiteral("Calcd"));
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString());
        QVERIFY(!model.data(model.index(3, 0)).isValid());
    }
};

static RegisterTest registration("GridModelsTest",
                                 [] { return std::make_unique<GridModelsTest>(); });

} // namespace orvane::app::testing

#include "grid_models_test.moc"
