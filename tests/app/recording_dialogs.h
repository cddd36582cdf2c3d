#pragma once

#include <string>
#include <vector>

#include <QString>
#include <QStringList>

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
};

} // namespace orvane::app::testing
