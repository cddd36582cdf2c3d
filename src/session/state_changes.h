#pragma once

namespace orvane::session {

// What a command of the session touched, so that each view recomputes only what depends on
// it: a keystroke in a range box must not recompute an ion and its fine structure.
class StateChanges {
public:
    enum Part : unsigned {
        Tables = 1u << 0,       // the data files were loaded or the tables reset
        Formula = 1u << 1,      // the counts, labels, composition or the pattern
        Charge = 1u << 2,       // the charge box
        Threshold = 1u << 3,    // the label threshold
        Display = 1u << 4,      // the main window's ranges, texts and drawing
        History = 1u << 5,      // the formula history
        Ion = 1u << 6,          // the ion box
        ProfileBoxes = 1u << 7, // resolving power, coverage, tolerance
        Instrument = 1u << 8,   // the instrument preset the scores assume
        LadderRange = 1u << 9,  // the charge-state table's range box
        Measured = 1u << 10,    // the measured spectrum shown
    };

    constexpr StateChanges() = default;
    constexpr StateChanges(Part part) : m_parts(part) {} // NOLINT: a part is a change
    static constexpr StateChanges all() { return StateChanges(~0u); }

    constexpr StateChanges operator|(StateChanges other) const {
        return StateChanges(m_parts | other.m_parts);
    }
    constexpr StateChanges& operator|=(StateChanges other) {
        m_parts |= other.m_parts;
        return *this;
    }
    /// Whether any of `parts` changed.
    constexpr bool touches(StateChanges parts) const { return (m_parts & parts.m_parts) != 0; }
    /// Whether all of `parts` changed.
    constexpr bool includes(StateChanges parts) const {
        return (m_parts & parts.m_parts) == parts.m_parts;
    }
    constexpr bool empty() const { return m_parts == 0; }
    constexpr bool operator==(const StateChanges&) const = default;

private:
    constexpr explicit StateChanges(unsigned parts) : m_parts(parts) {}
    unsigned m_parts = 0;
};

constexpr StateChanges operator|(StateChanges::Part a, StateChanges::Part b) {
    return StateChanges(a) | b;
}

// What the ion of the ion box at the charge box is computed from.
inline constexpr StateChanges ionInputs =
    StateChanges::Tables | StateChanges::Formula | StateChanges::Charge | StateChanges::Ion;

} // namespace orvane::session
