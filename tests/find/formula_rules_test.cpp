#include "find/formula_rules.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "find/valence.h"

namespace orvane::find {
namespace {

using Atoms = std::vector<std::pair<std::string, long long>>;

// The tallies of a formula, with the masses of the elements' main isotopes summed.
struct Formula {
    std::vector<std::string> symbols; // owns the texts the tallies view
    std::vector<AtomTally> tallies;
    double mass = 0;

    explicit Formula(const Atoms& atoms) {
        symbols.reserve(atoms.size());
        for (const auto& [symbol, count] : atoms) {
            symbols.push_back(symbol);
        }
        for (std::size_t i = 0; i < atoms.size(); ++i) {
            tallies.push_back({symbols[i], atoms[i].second, lowestValence(symbols[i])});
            mass += static_cast<double>(atoms[i].second) * mainIsotopeMass(symbols[i]);
        }
    }

    static double mainIsotopeMass(const std::string& symbol) {
        const std::pair<const char*, double> masses[] = {
            {"C", 12},          {"H", 1.007825032},  {"N", 14.003074},   {"O", 15.99491462},
            {"P", 30.97376163}, {"S", 31.97207100},  {"F", 18.99840322}, {"Cl", 34.96885268},
            {"Br", 78.9183371}, {"Si", 27.97692653}, {"Na", 22.98976928}};
        for (const auto& [known, mass] : masses) {
            if (symbol == known) {
                return mass;
            }
        }
        return 0;
    }
};

TEST(FormulaRules, EachRuleRemovesTheFormulasThatBreakIt) {
    RuleSettings capped;
    capped.rdbeMinimum = 0;
    capped.rdbeMaximum = 3;
    RuleSettings common;
    common.commonRatios = true;
    const RuleSettings defaults;
    const struct {
        const char* name;
        Atoms atoms;
        RuleSettings settings;
        std::optional<Rule> broken;
    } cases[] = {
        {"RDBE 6 above 3", {{"C", 8}, {"H", 10}, {"N", 4}, {"O", 2}}, capped, Rule::RdbeRange},
        {"RDBE 3 at the bound", {{"C", 6}, {"H", 8}, {"O", 1}}, capped, std::nullopt},
        {"RDBE -1 below 0", {{"C", 2}, {"H", 8}}, capped, Rule::RdbeRange},
        {"CH3: odd valence sum", {{"C", 1}, {"H", 3}}, defaults, Rule::Lewis},
        {"NO: odd valence sum", {{"C", 1}, {"N", 1}, {"O", 1}}, defaults, Rule::Lewis},
        {"C2H8: too few bonds for its atoms", {{"C", 2}, {"H", 8}}, defaults, Rule::Senior},
        {"C alone", {{"C", 1}}, defaults, Rule::Senior},
        {"C40H16 below 500 Da: 40 C", {{"C", 40}, {"H", 16}}, defaults, Rule::ElementCounts},
        {"C39H16 below 500 Da", {{"C", 39}, {"H", 16}}, defaults, std::nullopt},
        {"C20H30Cl12 below 1000 Da: 12 Cl",
         {{"C", 20}, {"H", 30}, {"Cl", 12}},
         defaults,
         std::nullopt},
        {"C20H29Cl13 below 1000 Da: 13 Cl",
         {{"C", 20}, {"H", 29}, {"Cl", 13}},
         defaults,
         Rule::ElementCounts},
        {"CH7N3: H/C 7", {{"C", 1}, {"H", 7}, {"N", 3}}, defaults, Rule::HydrogenCarbon},
        {"C10: H/C 0", {{"C", 10}}, defaults, Rule::HydrogenCarbon},
        {"H2O: hydrogen without carbon", {{"H", 2}, {"O", 1}}, defaults, Rule::HydrogenCarbon},
        {"C20H2: H/C 0.1", {{"C", 20}, {"H", 2}}, defaults, std::nullopt},
        {"C20H2: H/C 0.1 below the common 0.2",
         {{"C", 20}, {"H", 2}},
         common,
         Rule::HydrogenCarbon},
        {"CH4O4: O/C 4", {{"C", 1}, {"H", 4}, {"O", 4}}, defaults, Rule::HeteroatomCarbon},
        {"CH4O3: O/C 3", {{"C", 1}, {"H", 4}, {"O", 3}}, defaults, std::nullopt},
        {"C2H2O3: O/C 1.5 above the common 1.2",
         {{"C", 2}, {"H", 2}, {"O", 3}},
         common,
         Rule::HeteroatomCarbon},
        {"CCl3H: Cl/C 3", {{"C", 1}, {"H", 1}, {"Cl", 3}}, defaults, Rule::HeteroatomCarbon},
        {"C2HBr5: Br/C 2.5", {{"C", 2}, {"H", 1}, {"Br", 5}}, defaults, Rule::HeteroatomCarbon},
        {"NOPS each 2 or more, S 3",
         {{"C", 20}, {"H", 30}, {"N", 2}, {"O", 2}, {"P", 2}, {"S", 3}},
         defaults,
         Rule::HeteroatomProbability},
        {"NOPS each 2, S 2",
         {{"C", 20}, {"H", 30}, {"N", 2}, {"O", 2}, {"P", 2}, {"S", 2}},
         defaults,
         std::nullopt},
        {"NOS each 2 or more, O 14",
         {{"C", 30}, {"H", 40}, {"N", 2}, {"O", 14}, {"S", 2}},
         defaults,
         Rule::HeteroatomProbability},
        {"PSN each 2 or more, N 4",
         {{"C", 20}, {"H", 30}, {"N", 4}, {"P", 2}, {"S", 2}},
         defaults,
         Rule::HeteroatomProbability},
        {"caffeine", {{"C", 8}, {"H", 10}, {"N", 4}, {"O", 2}}, defaults, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Formula formula(c.atoms);
        const std::optional<Rule> broken =
            firstBrokenRule(formula.tallies, formula.mass, c.settings);
        EXPECT_EQ(broken.has_value(), c.broken.has_value());
        if (broken && c.broken) {
            EXPECT_EQ(ruleName(*broken), ruleName(*c.broken));
        }
        // with the heuristics off only asked-for RDBE bounds remain
        RuleSettings off = c.settings;
        off.disableHeuristics();
        const std::optional<Rule> left = firstBrokenRule(formula.tallies, formula.mass, off);
        EXPECT_EQ(left.has_value(), c.broken == Rule::RdbeRange);
    }
}

TEST(FormulaRules, RdbeUsesTheLowestValences) {
    const struct {
        const char* name;
        Atoms atoms;
        double rdbe;
    } cases[] = {
        {"methane", {{"C", 1}, {"H", 4}}, 0},
        {"benzene", {{"C", 6}, {"H", 6}}, 4},
        {"caffeine", {{"C", 8}, {"H", 10}, {"N", 4}, {"O", 2}}, 6},
        {"chlorobenzene", {{"C", 6}, {"H", 5}, {"Cl", 1}}, 4},
        {"methyl radical", {{"C", 1}, {"H", 3}}, 0.5},
        {"phosphoric acid", {{"H", 3}, {"O", 4}, {"P", 1}}, 0},
        {"silane with sodium", {{"Si", 1}, {"H", 3}, {"Na", 1}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rdbeOf(Formula(c.atoms).tallies), c.rdbe);
    }
}

TEST(FormulaRules, NamesAndValences) {
    EXPECT_EQ(ruleName(Rule::Lewis), "LEWIS");
    EXPECT_EQ(ruleName(Rule::HeteroatomProbability), "heteroatom counts");
    const std::pair<const char*, int> valences[] = {{"H", 1},  {"K", 1},  {"I", 1}, {"O", 2},
                                                    {"Se", 2}, {"N", 3},  {"B", 3}, {"C", 4},
                                                    {"Si", 4}, {"Fe", 2}, {"", 2}};
    for (const auto& [symbol, valence] : valences) {
        SCOPED_TRACE(symbol);
        EXPECT_EQ(lowestValence(symbol), valence);
    }
}

} // namespace
} // namespace orvane::find

namespace orvane::find {
namespace {

TEST(FormulaRules, LewisAsksTheParityOfTheMeasuredSpecies) {
    const struct {
        int moleculeCharge;
        bool radical;
        bool odd;
    } cases[] = {
        {0, false, false}, // [M+H]+, [M-H]-: a neutral M
        {1, false, true},  // [M]+: the cation itself, C20H18NO4
        {-1, false, true}, // [M]-
        {1, true, false},  // [M]+.: a neutral that lost an electron
        {0, true, true},   // [M+H]+.
        {2, false, false}, // [M]2+
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.moleculeCharge) + (c.radical ? " radical" : ""));
        EXPECT_EQ(lewisValenceSumOdd(c.moleculeCharge, c.radical), c.odd);
    }
    const Formula berberine({{"C", 20}, {"H", 18}, {"N", 1}, {"O", 4}});
    const RuleSettings rules;
    EXPECT_EQ(firstBrokenRule(berberine.tallies, berberine.mass, rules), Rule::Lewis);
    EXPECT_EQ(firstBrokenRule(berberine.tallies, berberine.mass, rules, true), std::nullopt);
    const Formula caffeine({{"C", 8}, {"H", 10}, {"N", 4}, {"O", 2}});
    EXPECT_EQ(firstBrokenRule(caffeine.tallies, caffeine.mass, rules, true), Rule::Lewis);
}

TEST(FormulaRules, EachHeuristicSwitchesByItsName) {
    const struct {
        const char* name;
        bool RuleSettings::*setting;
    } cases[] = {
        {"ion-atoms", &RuleSettings::ionAtoms},
        {"LEWIS", &RuleSettings::lewis},
        {"senior", &RuleSettings::senior},
        {"element-counts", &RuleSettings::elementCounts},
        {"h/c", &RuleSettings::hydrogenCarbon},
        {"heteroatoms/C", &RuleSettings::heteroatomCarbon},
        {"heteroatom-counts", &RuleSettings::heteroatomProbability},
        {"prior", &RuleSettings::compositionPrior},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RuleSettings settings;
        ASSERT_TRUE(switchRule(settings, c.name, false));
        EXPECT_FALSE(settings.*c.setting);
        // the others stay on
        RuleSettings expected;
        expected.*c.setting = false;
        for (const auto& other : cases) {
            EXPECT_EQ(settings.*other.setting, expected.*other.setting) << other.name;
        }
        ASSERT_TRUE(switchRule(settings, c.name, true));
        EXPECT_TRUE(settings.*c.setting);
    }
    RuleSettings settings;
    ASSERT_TRUE(switchRule(settings, "ratios", false));
    EXPECT_FALSE(settings.hydrogenCarbon);
    EXPECT_FALSE(settings.heteroatomCarbon);
    EXPECT_TRUE(settings.lewis);
    EXPECT_FALSE(switchRule(settings, "golden", false));
    EXPECT_FALSE(switchRule(settings, "", false));
}

} // namespace
} // namespace orvane::find
