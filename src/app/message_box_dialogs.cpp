#include "app/message_box_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "app/plain_file_icon_provider.h"
#include "app/spectrum_chooser.h"

namespace orvane::app {

namespace {

const QString title = QStringLiteral("Orvane");

} // namespace

void MessageBoxDialogs::notify(const std::string& message) {
    QMessageBox::information(QApplication::activeWindow(), title, QString::fromStdString(message));
}

bool MessageBoxDialogs::confirm(const std::string& message) {
    return QMessageBox::information(
               QApplication::activeWindow(), title, QString::fromStdString(message),
               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) == QMessageBox::Ok;
}

void MessageBoxDialogs::showError(const std::string& message) {
    QMessageBox::critical(QApplication::activeWindow(), title, QString::fromStdString(message));
}

QString MessageBoxDialogs::getSaveFileName(const QString& lastName) {
    // No filter and no default suffix: the name is taken exactly as chosen. The
    // overwrite notice is the export's own, so the dialog must not ask first.
    QFileDialog dialog(QApplication::activeWindow(), QString(), lastName);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Whatever folder it remembers, the dialog never reads a file's contents.
    PlainFileIconProvider icons;
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<PictureChoice> MessageBoxDialogs::getSavePictureName(const PictureChoice& last) {
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Save Picture"), last.name);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = pictureFilters();
    dialog.setNameFilters(filters);
    // The last choice's filter again; the dialog asks before it replaces a file, with the
    // extension the picture will have.
    const qsizetype lastFilter = pictureFilterOf(last);
    dialog.selectNameFilter(filters[lastFilter]);
    const auto suffixFor = [](const QString& filter) {
        return filter.section(QStringLiteral("*."), -1).chopped(1);
    };
    dialog.setDefaultSuffix(suffixFor(filters[lastFilter]));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog, suffixFor](const QString& filter) {
                         dialog.setDefaultSuffix(suffixFor(filter));
                     });
    PlainFileIconProvider icons;
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return pictureChoiceFor(dialog.selectedFiles().constFirst(),
                            static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
}

QString MessageBoxDialogs::getOpenSpectrumName(const QString& lastName) {
    QFileDialog dialog(QApplication::activeWindow(), QStringLiteral("Open a Measured Spectrum"),
                       lastName);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({QStringLiteral("Spectra (*.mzML *.mzXML *.txt *.csv *.tsv *.xy *.gz)"),
                           QStringLiteral("All files (*)")});
    PlainFileIconProvider icons;
    dialog.setIconProvider(&icons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

std::optional<std::size_t> MessageBoxDialogs::chooseSpectrum(const measured::MeasuredFile& file,
                                                             std::size_t chosen) {
    SpectrumChooser chooser(file, chosen, QApplication::activeWindow());
    if (chooser.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return chooser.chosen();
}

} // namespace orvane::app
