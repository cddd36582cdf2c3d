#pragma once

#include <string>

#include <QString>

#include "text/notifier.h"

namespace orvane::app {

// Everything the windows ask of the user in a modal box: the core's notices, the
// standard error box and the save-file dialog. Tests put recorders in its place so that
// nothing blocks.
class UserDialogs : public text::Notifier {
public:
    /// The standard error box with the error's exact text.
    virtual void showError(const std::string& message) = 0;
    /// The save-file dialog offering `lastName`; an empty name when the user cancelled.
    virtual QString getSaveFileName(const QString& lastName) = 0;
};

} // namespace orvane::app
