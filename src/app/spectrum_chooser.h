#pragma once

#include <cstddef>
#include <vector>

#include <QDialog>

#include "measured/measured_file.h"

class QTableWidget;

namespace orvane::app {

// Lists the spectra of a measured file (index, id, MS level, retention time, points, m/z
// range and base peak), the MS1 spectra first, with one chosen to begin with; an empty
// spectrum is marked and cannot be chosen. OK takes the selected one.
class SpectrumChooser : public QDialog {
    Q_OBJECT

public:
    SpectrumChooser(const measured::MeasuredFile& file, std::size_t chosen,
                    QWidget* parent = nullptr);

    QTableWidget* list() const { return m_list; }
    /// The spectrum selected now (its index in the file).
    std::size_t chosen() const;
    /// The row that lists spectrum `index`; -1 when none does.
    int rowOf(std::size_t index) const;

private:
    QTableWidget* m_list;
    std::vector<std::size_t> m_rows; // the spectrum index of each row
};

} // namespace orvane::app
