#pragma once

#include "app/user_dialogs.h"

namespace orvane::app {

// The dialogs of the running application: application-modal message boxes titled
// "Orvane" over the active window, and the platform's save-file dialog.
class MessageBoxDialogs : public UserDialogs {
public:
    void notify(const std::string& message) override;
    bool confirm(const std::string& message) override;
    void showError(const std::string& message) override;
    QString getSaveFileName(const QString& lastName) override;
    std::optional<PictureChoice> getSavePictureName(const PictureChoice& last) override;
    QString getOpenSpectrumName(const QString& lastName) override;
    std::optional<std::size_t> chooseSpectrum(const measured::MeasuredFile& file,
                                              std::size_t chosen) override;
};

} // namespace orvane::app
