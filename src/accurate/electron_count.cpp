#include "accurate/electron_count.h"

#include <array>

namespace orvane::accurate {

namespace {

// By atomic number, from 1.
constexpr std::array<std::string_view, 118> elementSymbols = {
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

} // namespace

std::optional<int> atomicNumberOf(std::string_view symbol) {
    for (std::size_t i = 0; i < elementSymbols.size(); ++i) {
        if (elementSymbols[i] == symbol) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

std::optional<long long> electronCount(const std::vector<AtomCount>& atoms,
                                       const data::DataTables& tables) {
    long long electrons = 0;
    for (const AtomCount& count : atoms) {
        const std::optional<int> z =
            atomicNumberOf(tables.elements.cell(count.column, data::SymbolRow));
        long long own = 0;
        if (!z || __builtin_mul_overflow(count.atoms, *z, &own) ||
            __builtin_add_overflow(electrons, own, &electrons)) {
            return std::nullopt;
        }
    }
    return electrons;
}

} // namespace orvane::accurate
