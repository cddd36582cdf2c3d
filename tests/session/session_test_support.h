#pragma once

#include <string>

#include "plot/canvas.h"
#include "ion/high_resolution_view.h"
#include "ion/ion_result.h"
#include "session/ion_inputs.h"
#include "session/session.h"
#include "support/recording_notifier.h"

namespace orvane::session::testing {

// A canvas that keeps nothing: these tests read the state, not the picture.
class NoCanvas : public plot::Canvas {
public:
    int width() const override { return 782; }
    int height() const override { return 553; }
    void setPen(int, plot::Color, plot::PenStyle) override {}
    void setBrush(plot::Color) override {}
    void setFont(int, plot::Color) override {}
    void clear(plot::Color) override {}
    void rectangle(long long, long long, long long, long long) override {}
    void moveTo(long long, long long) override {}
    void lineTo(long long, long long) override {}
    void textOut(long long, long long, const std::string&) override {}
    int textWidth(const std::string& text) const override {
        return 6 * static_cast<int>(text.size());
    }
};

// The session over the shipped data files, with a formula typed as text.
struct ShippedSession {
    testing_support::RecordingNotifier notifier;
    NoCanvas canvas;
    Session session{ORVANE_SHARE_DIR, '.', notifier, canvas, SessionTiming{{}}};

    explicit ShippedSession(const std::string& formula) {
        session.Initialize1Click();
        session.enterFormula(formula);
    }
    ions::IonResult ion(const std::string& notation, int charge = 1) const {
        return ions::computeIon(moleculeOf(session.state()), notation, charge, '.');
    }
    // The measured points shown, or nullptr.
    const measured::Spectrum* measuredPoints() const { return measuredPointsOf(session.state()); }
    // The ion against the measured spectrum shown, as the windows match it.
    std::optional<ions::MeasuredMatch> match(const ions::IonResult& ion) const {
        const std::optional<ions::MeasuredView> measured = measuredViewOf(session.state());
        return ions::matchMeasured(session.state().tables, profileBoxesOf(session.state()),
                                   measured ? &*measured : nullptr, ion, '.');
    }
};

} // namespace orvane::session::testing
