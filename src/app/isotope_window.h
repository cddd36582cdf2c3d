#pragma once

#include <QMainWindow>

#include "app/text_grid_model.h"
#include "data/text_grid.h"

class QTableView;

namespace orvane::app {

// TForm12: the isotope table in a window of its own, for reading only; its "Close" (F9)
// hides it.
class IsotopeWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit IsotopeWindow(const data::TextGrid& isotopes, QWidget* parent = nullptr);

    /// Shows the isotope table as it is now.
    void refresh();
    /// Names the folder the data files came from in the title; an empty folder gives the
    /// designed title (the files are the working directory's).
    void showDataFolder(const QString& folder);

public slots:
    void Close1Click();

private:
    TextGridModel m_model;
    QTableView* m_grid;
};

} // namespace orvane::app
