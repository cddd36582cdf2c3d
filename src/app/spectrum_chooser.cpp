#include "app/spectrum_chooser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "text/number_text.h"

namespace orvane::app {

namespace {

QTableWidgetItem* cell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

} // namespace

SpectrumChooser::SpectrumChooser(const measured::MeasuredFile& file, std::size_t chosen,
                                 QWidget* parent)
    : QDialog(parent), m_list(new QTableWidget(this)) {
    setObjectName(QStringLiteral("SpectrumChooser"));
    setWindowTitle(QStringLiteral("Choose a Spectrum"));
    const auto& spectra = file.spectra();
    m_list->setObjectName(QStringLiteral("Spectra"));
    m_list->setColumnCount(8);
    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("Id"), QStringLiteral("MS level"),
         QStringLiteral("RT (s)"), QStringLiteral("Points"), QStringLiteral("m/z range"),
         QStringLiteral("Base peak m/z"), QStringLiteral("Base peak intensity")});
    m_list->setRowCount(static_cast<int>(spectra.size()));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();

    // MS1 spectra first, each group in file order.
    for (const bool ms1 : {true, false}) {
        for (std::size_t k = 0; k < spectra.size(); ++k) {
            if ((spectra[k].msLevel == 1) == ms1) {
                m_rows.push_back(k);
            }
        }
    }
    const auto number = [](double value) { return QString::number(value, 'f', 4); };
    for (std::size_t row = 0; row < m_rows.size(); ++row) {
        const measured::SpectrumSummary& spectrum = spectra[m_rows[row]];
        const int r = static_cast<int>(row);
        const bool empty = spectrum.pointCount == 0;
        const bool refused = !spectrum.problem.empty();
        const auto put = [&](int column, const QString& text) {
            QTableWidgetItem* item = cell(text);
            if (empty) {
                // an empty or unreadable spectrum is shown, but there is nothing to choose in it
                item->setFlags(Qt::NoItemFlags);
            }
            if (refused) {
                item->setToolTip(QString::fromStdString(spectrum.problem));
            }
            m_list->setItem(r, column, item);
        };
        put(0, QString::number(spectrum.index));
        put(1, QString::fromStdString(spectrum.id));
        put(2, spectrum.msLevel > 0 ? QString::number(spectrum.msLevel) : QString());
        put(3, spectrum.retentionTimeSeconds
                   ? QString::number(*spectrum.retentionTimeSeconds, 'f', 2)
                   : QString());
        put(4, refused ? QStringLiteral("unreadable")
               : empty ? QStringLiteral("0 (empty)")
                       : QString::number(spectrum.pointCount));
        put(5, spectrum.mzLow && spectrum.mzHigh
                   ? number(*spectrum.mzLow) + QStringLiteral(" – ") + number(*spectrum.mzHigh)
                   : QString());
        put(6, spectrum.basePeakMz ? number(*spectrum.basePeakMz) : QString());
        put(7, spectrum.basePeakIntensity ? QString::number(*spectrum.basePeakIntensity, 'g', 6)
                                          : QString());
    }
    m_list->resizeColumnsToContents();
    const auto row = std::find(m_rows.begin(), m_rows.end(), chosen);
    if (row != m_rows.end() && spectra[chosen].pointCount > 0) {
        const int r = static_cast<int>(row - m_rows.begin());
        m_list->selectRow(r);
        m_list->scrollToItem(m_list->item(r, 0));
    }
    connect(m_list, &QTableWidget::cellDoubleClicked, this, [this](int r) {
        if (m_list->item(r, 0)->flags() & Qt::ItemIsSelectable) {
            accept();
        }
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(m_list->currentRow() >= 0);
    connect(m_list, &QTableWidget::itemSelectionChanged, this,
            [this, ok] { ok->setEnabled(!m_list->selectedItems().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(file.fileName()), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(800, 360);
}

std::size_t SpectrumChooser::chosen() const {
    const int row = m_list->currentRow();
    return row < 0 || static_cast<std::size_t>(row) >= m_rows.size()
               ? (m_rows.empty() ? 0 : m_rows.front())
               : m_rows[static_cast<std::size_t>(row)];
}

int SpectrumChooser::rowOf(std::size_t index) const {
    const auto row = std::find(m_rows.begin(), m_rows.end(), index);
    return row == m_rows.end() ? -1 : static_cast<int>(row - m_rows.begin());
}

} // namespace orvane::app
