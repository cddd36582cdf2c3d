#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

#include <QTableWidget>

#include "app/spectrum_chooser.h"
#include "app/user_dialogs.h"

namespace orvane::app::testing {

// Stands in for every modal box: records what would have been shown and answers as told.
class RecordingDialogs : public UserDialogs {
public:
    std::vector<std::string> errors;
    std::vector<std::string> notices;
    std::vector<std::string> questions;
    bool confirmAnswer = true;
    QStringList offeredNames; // what each save dialog offered
    QString chosenName;       // what the save dialog returns; empty = cancel

    void notify(const std::string& message) override { notices.push_back(message); }
    bool confirm(const std::string& message) override {
        questions.push_back(message);
        return confirmAnswer;
    }
    void showError(const std::string& message) override { errors.push_back(message); }
    QString getSaveFileName(const QString& lastName) override {
        offeredNames << lastName;
        return chosenName;
    }

    std::vector<PictureChoice> offeredPictures; // what each picture dialog offered
    std::optional<PictureChoice> chosenPicture; // what it returns; nothing = cancel
    std::optional<PictureChoice> getSavePictureName(const PictureChoice& last) override {
        offeredPictures.push_back(last);
        return chosenPicture;
    }

    QString spectrumName; // what the open dialog returns; empty = cancel
    // The chooser as it opened (the real one, accepted as it stands unless told otherwise).
    std::vector<std::size_t> offeredChoices;
    int chooserRows = 0;
    std::optional<std::size_t> choice; // the spectrum to pick; nothing = the one offered
    bool cancelChooser = false;
    QString getOpenSpectrumName(const QString&) override { return spectrumName; }
    std::optional<std::size_t> chooseSpectrum(const measured::MeasuredFile& file,
                                              std::size_t chosen) override {
        SpectrumChooser chooser(file, chosen);
        offeredChoices.push_back(chooser.chosen());
        chooserRows = chooser.list()->rowCount();
        if (cancelChooser) {
            return std::nullopt;
        }
        if (choice) {
            chooser.list()->selectRow(chooser.rowOf(*choice)); // a spectrum's index in the file
        }
        return chooser.chosen();
    }
};

} // namespace orvane::app::testing
