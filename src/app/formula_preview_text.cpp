#include "app/formula_preview_text.h"

#include <QRegularExpression>

namespace orvane::app {

QString formulaPreviewText(const ions::FormulaPreview& preview) {
    QString shown = QString::fromStdString(preview.formulaText);
    if (preview.accepted && preview.message.empty()) {
        shown += QStringLiteral("    FW ") + QString::fromStdString(preview.weightText);
        if (!preview.hillText.empty()) {
            shown += QStringLiteral("\n") + QString::fromStdString(preview.hillText);
            if (!preview.monoisotopicText.empty()) {
                shown += QStringLiteral("    monoisotopic ") +
                         QString::fromStdString(preview.monoisotopicText);
            }
        }
    } else if (preview.accepted) {
        shown += QStringLiteral("    ") + QString::fromStdString(preview.message);
    } else {
        shown = QString::fromStdString(preview.message);
    }
    for (const std::string& notice : preview.notices) {
        shown += QStringLiteral("\n") + QString::fromStdString(notice);
    }
    return shown;
}

std::optional<int> faultPosition(const std::string& refusal) {
    static const QRegularExpression named(QStringLiteral("position (\\d+)"));
    const QRegularExpressionMatch fault = named.match(QString::fromStdString(refusal));
    if (!fault.hasMatch()) {
        return std::nullopt;
    }
    return fault.captured(1).toInt();
}

} // namespace orvane::app
