#include "app/label_texts.h"

namespace orvane::app {

// The labels of one column as the formula writes them: "[13C]6, [13C]{99%}2".
std::string labelsOfColumn(const session::SessionState& state, int column) {
    std::string labels;
    for (const calc::LabelElement& label : state.labels) {
        if (label.column == column && label.count > 0) {
            labels += (labels.empty() ? "" : ", ") + label.symbol + label.countText;
        }
    }
    return labels;
}

QString formulaToolTip(const session::SessionState& state) {
    QString tip = QStringLiteral("The formula of the counts; press F2 to enter a formula as text");
    // the labels, each with its isotope's share and the share of the weight it carries
    for (const calc::LabelElement& label : state.labels) {
        const std::size_t close = label.symbol.find(']');
        const QString isotope = QString::fromStdString(label.symbol.substr(1, close - 1));
        const double weight = state.composition.formulaWeight;
        const double share = weight > 0 ? label.averageMass() * label.count * 100 / weight : 0;
        tip +=
            QStringLiteral("\nLabel %1: %2 atoms, %3 % %4, %5 % of the weight")
                .arg(QString::fromStdString(label.symbol), QString::fromStdString(label.countText))
                .arg(label.isotopes.front().probability * 100, 0, 'g', 6)
                .arg(isotope)
                .arg(share, 0, 'f', 3);
    }
    return tip;
}

} // namespace orvane::app
