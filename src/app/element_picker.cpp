#include "app/element_picker.h"

#include <QGridLayout>
#include <QToolButton>

#include <array>

namespace orvane::app {

namespace {

// The periods as rows of 18 groups; "" leaves a group empty. The lanthanides and
// actinides follow in rows of their own under the table.
constexpr std::array<std::array<const char*, 18>, 9> periodicRows{{
    {"H", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "He"},
    {"Li", "Be", "", "", "", "", "", "", "", "", "", "", "B", "C", "N", "O", "F", "Ne"},
    {"Na", "Mg", "", "", "", "", "", "", "", "", "", "", "Al", "Si", "P", "S", "Cl", "Ar"},
    {"K", "Ca", "Sc", "Ti", "V", "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se",
     "Br", "Kr"},
    {"Rb", "Sr", "Y", "Zr", "Nb", "Mo", "Tc", "Ru", "Rh", "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te",
     "I", "Xe"},
    {"Cs", "Ba", "La", "Hf", "Ta", "W", "Re", "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po",
     "At", "Rn"},
    {"Fr", "Ra", "Ac", "Rf", "Db", "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv",
     "Ts", "Og"},
    {"", "", "", "Ce", "Pr", "Nd", "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu",
     ""},
    {"", "", "", "Th", "Pa", "U", "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr",
     ""},
}};

} // namespace

ElementPicker::ElementPicker(const QStringList& available, const QStringList& chosen,
                             QWidget* parent)
    : QFrame(parent, Qt::Popup) {
    setObjectName(QStringLiteral("ElementPicker"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* grid = new QGridLayout(this);
    grid->setSpacing(1);
    grid->setContentsMargins(4, 4, 4, 4);
    for (std::size_t row = 0; row < periodicRows.size(); ++row) {
        for (std::size_t group = 0; group < periodicRows[row].size(); ++group) {
            const QString symbol = QString::fromLatin1(periodicRows[row][group]);
            if (symbol.isEmpty()) {
                continue;
            }
            auto* button = new QToolButton(this);
            button->setObjectName(symbol);
            button->setText(symbol);
            button->setAutoRaise(true);
            button->setFixedSize(28, 22);
            button->setCheckable(true);
            button->setChecked(chosen.contains(symbol));
            button->setEnabled(available.contains(symbol));
            // it stays open for the next element; a click outside or Escape closes it
            connect(button, &QToolButton::clicked, this, [this, symbol] { emit picked(symbol); });
            // a gap row between the main table and the two f-block rows
            const int shown = static_cast<int>(row) + (row >= 7 ? 1 : 0);
            grid->addWidget(button, shown, static_cast<int>(group));
        }
    }
    grid->setRowMinimumHeight(7, 6);
}

} // namespace orvane::app
