#include "app/help_text.h"

namespace orvane::app {

QString helpText() {
    return QStringLiteral(
        "Keys\n"
        "  F2  enter a formula as text        Ctrl+O  open a measured spectrum\n"
        "  F3  find the formula of an m/z\n"
        "  F8  MS data   F9  isotope table    Ctrl+S  Save_Normal\n"
        "  F10 working elements               Ctrl+Shift+S  Save_Picture…\n"
        "  F11 MS range  F12 high resolution  Ctrl+Shift+C  Copy_Graphics\n"
        "  Alt+F, Alt+O  open the menus       Ctrl+Q  Exit\n"
        "  Enter in a range box under the plot applies it.\n"
        "  F1, F2, F3, F12 and Ctrl+O work from every window.\n"
        "\n"
        "Formulas\n"
        "  C6H12O6        element symbols with counts\n"
        "  Ca(OH)2, K4[Fe(CN)6]   groups in brackets\n"
        "  CuSO4·5H2O, FeCl3.6H2O, CaCl2*2H2O   hydrates\n"
        "  2(H2O)         a multiplier before a part\n"
        "  C0.3, C2.5 H6  decimal counts\n"
        "  Numbers that are also mass numbers (2H2O, 13CH4) are refused\n"
        "  with both readings: write [2H]2O or 2(H2O).\n"
        "  [13C]6H12O6, [13C6]H12O6, C5[13C]H12O6   isotope labels\n"
        "  D2O, T2O       D and T for [2H] and [3H]\n"
        "  [13C]6{99%}H12O6   a label's purity\n"
        "  peptide(M[Oxidation]K), dna(pACGT), averagine(25000)   sequences\n"
        "\n"
        "Ions in the high-resolution window: [M+H]+, [M+Na]+, [M-H]-, [M+2H]2+, [2M+Na]+;\n"
        "[M]+ is a cation measured as it is, [M]+. a radical cation.\n"
        "Charge states there: a range such as 5-20; double-click a row to show that ion.\n"
        "\n"
        "Finding formulas (F3)\n"
        "  Instrument (high-resolution window): Orbitrap, FT-ICR, QTOF, IT-TOF set the\n"
        "  resolving power's fall with m/z (the box: R at the maker's reference m/z)\n"
        "  and the m/z and intensity errors of the isotope score.\n"
        "  Score = mass term + composition prior + isotope score. The prior costs each\n"
        "  count of N, P, S, F, Cl, Br, I, Si what its rarity among known metabolites\n"
        "  (HMDB 4.0) of that mass costs, so that an element the pattern cannot show,\n"
        "  such as P, needs evidence. Rules… switches each rule and the prior alone.\n"
        "  A peak below the spectrum's smallest is not observed rather than missing;\n"
        "  the cosine and isotope score are the same in both windows and orvane-calc.");
}

} // namespace orvane::app
