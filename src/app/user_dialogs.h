#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <QString>

#include "app/picture_choice.h"
#include "measured/measured_file.h"
#include "text/notifier.h"

namespace orvane::app {

// Everything the windows ask of the user in a modal box: the core's notices, the
// standard error box and the save-file dialogs. Tests put recorders in its place so that
// nothing blocks.
class UserDialogs : public text::Notifier {
public:
    /// The standard error box with the error's exact text.
    virtual void showError(const std::string& message) = 0;
    /// The save-file dialog offering `lastName`; an empty name when the user cancelled.
    virtual QString getSaveFileName(const QString& lastName) = 0;
    /// The save dialog of "Save_Picture…", offering the last choice's name and filter;
    /// nothing when the user cancelled.
    virtual std::optional<PictureChoice> getSavePictureName(const PictureChoice& last) = 0;
    /// The open-file dialog for a measured spectrum, offering `lastName`; an empty name when
    /// the user cancelled.
    virtual QString getOpenSpectrumName(const QString& lastName) = 0;
    /// Lets the user choose one of the file's spectra, `chosen` selected to begin with;
    /// nothing when the user cancelled.
    virtual std::optional<std::size_t> chooseSpectrum(const measured::MeasuredFile& file,
                                                      std::size_t chosen) = 0;
};

} // namespace orvane::app
