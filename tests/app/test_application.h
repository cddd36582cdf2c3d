#pragma once

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/count_dialog.h"
#include "app/element_grid_view.h"
#include "app/formula_dialog.h"
#include "app/high_resolution_window.h"
#include "qtcanvas/image_canvas.h"
#include "app/main_window.h"
#include "data/data_tables.h"
#include "recording_dialogs.h"
#include "session/session.h"

namespace orvane::app::testing {

inline QString shareDirectory() {
    return QStringLiteral(ORVANE_SHARE_DIR);
}

// The column of an element in the shipped element file, read here without the core.
inline int shippedColumn(const QString& symbol) {
    QFile file(shareDirectory() + QStringLiteral("/elem.txt"));
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = file.readLine().trimmed().split('\t');
    for (int column = 1; column < fields.size(); ++column) {
        if (QString::fromLatin1(fields[column]).trimmed() == symbol) {
            return column;
        }
    }
    return -1;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The application as main() builds it, over a private copy of the shipped data files.
struct TestApplication {
    QTemporaryDir directory;
    QTemporaryDir saves; // a folder of the user's, apart from the data files
    RecordingDialogs dialogs;
    qtcanvas::ImageCanvas canvas;
    std::unique_ptr<session::Session> session;
    std::unique_ptr<MainWindow> window;

    explicit TestApplication(WindowTiming timing = WindowTiming{{}}) {
        for (const char* name : {"elem.txt", "abundances.txt", "masses.txt"}) {
            QFile::copy(shareDirectory() + QLatin1Char('/') + QLatin1String(name),
                        directory.filePath(QLatin1String(name)));
        }
        // No waits: the count entry's pause and the progress window's delay are 0.
        session =
            std::make_unique<session::Session>(QFile::encodeName(directory.path()).toStdString(),
                                               '.', dialogs, canvas, session::SessionTiming{{}});
        window = std::make_unique<MainWindow>(*session, dialogs, canvas, timing);
        window->show();
    }

    template <typename T> T* control(const char* name) const {
        return window->findChild<T*>(QLatin1String(name));
    }
    QString text(const char* name) const { return control<QLineEdit>(name)->text(); }
    ElementGridView* grid() const { return control<ElementGridView>("StringGrid1"); }
    QLineEdit* dialogEdit() const { return window->countDialog().findChild<QLineEdit*>("Edit1"); }
    const data::TextGrid& elements() const { return session->state().tables.elements; }

    void run(const char* action) const {
        QAction* entry = control<QAction>(action);
        QVERIFY2(entry != nullptr, action);
        entry->trigger();
    }

    /// Where a cell of the element table is, in the view's viewport, after scrolling to it.
    QPoint cellPoint(int column, int row) const {
        const QModelIndex index = grid()->model()->index(row - 1, column);
        grid()->scrollTo(index);
        return grid()->visualRect(index).center();
    }
    void clickCell(int column, int row, Qt::MouseButton button = Qt::LeftButton) const {
        QTest::mouseClick(grid()->viewport(), button, {}, cellPoint(column, row));
    }
    void enterCount(int column, const QString& count) const {
        clickCell(column, data::CountRow);
        QVERIFY(window->countDialog().isVisible());
        dialogEdit()->setText(count);
        QTest::mouseClick(window->countDialog().findChild<QPushButton*>("OK1"), Qt::LeftButton);
    }
    bool activate(QWidget& widget) const {
        widget.activateWindow();
        return QTest::qWaitForWindowActive(&widget);
    }
    /// Keyboard only: F2, the formula, Enter, then F12 for the high-resolution window.
    void enterFormulaAndShowHighResolution(const QString& formula) const {
        QVERIFY(activate(*window));
        QTest::keyClick(window.get(), Qt::Key_F2);
        QTest::keyClicks(window->formulaDialog().formulaBox()->lineEdit(), formula);
        QTest::keyClick(window->formulaDialog().formulaBox()->lineEdit(), Qt::Key_Return);
        QVERIFY(activate(*window));
        QTest::keyClick(window.get(), Qt::Key_F12);
        QVERIFY(window->highResolutionWindow().isVisible());
    }
};

} // namespace orvane::app::testing
