#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>

#include "app/spectrum_chooser.h"
#include "measured/measured_file.h"
#include "measured/measured_test_support.h"
#include "test_registry.h"

namespace orvane::app::testing {

// The chooser of a file with several spectra: what each one is, the MS1 spectra first, and
// no way to choose an empty one.
class SpectrumChooserTest : public QObject {
    Q_OBJECT

private slots:
    void listsWhatEachSpectrumIsMs1First() {
        const measured::testing::TestSpectrum fragments{{50, 60}, {10, 20}, 2, "centroid", 0.5};
        const measured::testing::TestSpectrum survey{
            {181.07, 182.07, 183.08}, {100, 6.6, 1.2}, 1, "centroid", 1.25};
        const measured::testing::TestSpectrum empty{{}, {}, 1, "centroid", 2};
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("run.mzML"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(QByteArray::fromStdString(measured::testing::mzmlDocument(
            {fragments, survey, empty}, measured::testing::MzmlIndex::Right)));
        out.close();
        const measured::MeasuredFile file = measured::openMeasuredFile(path.toStdString());

        SpectrumChooser chooser(file, 1);
        QTableWidget& list = *chooser.list();
        QCOMPARE(list.rowCount(), 3);
        QStringList headers;
        for (int column = 0; column < list.columnCount(); ++column) {
            headers << list.horizontalHeaderItem(column)->text();
        }
        QCOMPARE(headers, (QStringList{"Index", "Id", "MS level", "RT (s)", "Points", "m/z range",
                                       "Base peak m/z", "Base peak intensity"}));
        // rows: the two MS1 spectra in file order, then the MS2 one
        const struct {
            const char* index;
            const char* level;
            const char* rt;
            const char* points;
            const char* range;
            const char* basePeak;
        } rows[] = {
            {"1", "1", "75.00", "3", "181.0700 – 183.0800", "181.0700"},
            {"2", "1", "120.00", "0 (empty)", "", ""},
            {"0", "2", "30.00", "2", "50.0000 – 60.0000", "60.0000"},
        };
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(list.item(row, 0)->text(), QLatin1String(rows[row].index));
            QCOMPARE(list.item(row, 2)->text(), QLatin1String(rows[row].level));
            QCOMPARE(list.item(row, 3)->text(), QLatin1String(rows[row].rt));
            QCOMPARE(list.item(row, 4)->text(), QString::fromUtf8(rows[row].points));
            QCOMPARE(list.item(row, 5)->text(), QString::fromUtf8(rows[row].range));
            QCOMPARE(list.item(row, 6)->text(), QLatin1String(rows[row].basePeak));
        }
        QCOMPARE(chooser.chosen(), std::size_t{1}); // offered first, on the first row
        // the empty spectrum cannot be selected
        QVERIFY(!(list.item(1, 0)->flags() & Qt::ItemIsSelectable));
        list.clearSelection();
        list.selectRow(1);
        QVERIFY(list.selectedItems().isEmpty());
        QVERIFY(!chooser.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled());
        list.selectRow(2);
        QCOMPARE(chooser.chosen(), std::size_t{0});
    }
};

static RegisterTest registration("SpectrumChooserTest",
                                 [] { return std::make_unique<SpectrumChooserTest>(); });

} // namespace orvane::app::testing

#include "spectrum_chooser_test.moc"
