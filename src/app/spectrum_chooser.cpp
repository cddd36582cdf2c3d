#include "app/spectrum_chooser.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

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
    m_list->setColumnCount(6);
    m_list->setHorizontalHeaderLabels(
        {QStringLiteral("Index"), QStringLiteral("Id"), QStringLiteral("MS level"),
         QStringLiteral("RT (s)"), QStringLiteral("Points"), QStringLiteral("Summed intensity")});
    m_list->setRowCount(static_cast<int>(spectra.size()));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->verticalHeader()->hide();
    for (std::size_t k = 0; k < spectra.size(); ++k) {
        const measured::SpectrumSummary& spectrum = spectra[k];
        const int row = static_cast<int>(k);
        m_list->setItem(row, 0, cell(QString::number(spectrum.index)));
        m_list->setItem(row, 1, cell(QString::fromStdString(spectrum.id)));
        m_list->setItem(row, 2,
                        cell(spectrum.msLevel > 0 ? QString::number(spectrum.msLevel) : QString()));
        m_list->setItem(row, 3,
                        cell(spectrum.retentionTimeSeconds
                                 ? QString::number(*spectrum.retentionTimeSeconds, 'f', 2)
                                 : QString()));
        m_list->setItem(row, 4, cell(QString::number(spectrum.pointCount)));
        m_list->setItem(row, 5, cell(QString::number(spectrum.summedIntensity, 'g', 6)));
    }
    m_list->resizeColumnsToContents();
    if (chosen < spectra.size()) {
        m_list->selectRow(static_cast<int>(chosen));
        m_list->scrollToItem(m_list->item(static_cast<int>(chosen), 0));
    }
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromStdString(file.fileName()), this));
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(640, 360);
}

std::size_t SpectrumChooser::chosen() const {
    const int row = m_list->currentRow();
    return row < 0 ? 0 : static_cast<std::size_t>(row);
}

} // namespace orvane::app
