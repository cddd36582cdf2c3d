#pragma once

#include <string>
#include <vector>

#include "text/notifier.h"

namespace orvane::testing_support {

// Keeps every notice, in order, for the test to compare; questions are answered with `answer`.
class RecordingNotifier : public text::Notifier {
public:
    void notify(const std::string& message) override { notices.push_back(message); }
    bool confirm(const std::string& message) override {
        notices.push_back(message);
        questions.push_back(message);
        return answer;
    }

    std::vector<std::string> notices;   // notices and questions alike
    std::vector<std::string> questions; // the questions alone
    bool answer = true;                 // OK; false for Cancel
};

} // namespace orvane::testing_support
