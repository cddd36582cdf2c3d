#pragma once

#include <cstddef>

#include <QDialog>

#include "measured/measured_file.h"

class QTableWidget;

namespace orvane::app {

// Lists the spectra of a measured file (index, id, MS level, retention time, points, summed
// intensity) with one chosen to begin with; OK takes the selected one.
class SpectrumChooser : public QDialog {
    Q_OBJECT

public:
    SpectrumChooser(const measured::MeasuredFile& file, std::size_t chosen,
                    QWidget* parent = nullptr);

    QTableWidget* list() const { return m_list; }
    /// The spectrum selected now.
    std::size_t chosen() const;

private:
    QTableWidget* m_list;
};

} // namespace orvane::app
