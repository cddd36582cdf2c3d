#include "literal_engine.h"

#include <algorithm>
#include <cmath>

#include "data/data_tables.h"
#include "text/error.h"
#include "text/extended.h"
#include "text/number_parse.h"
#include "text/rounding.h"

namespace orvane::calc::support {

namespace {

using text::Extended;

// Q[target] := Q[target] + P[i] * x / 100, stored; an overflow stops the run where it happens.
void addTerm(std::vector<double>& q, long long target, double source, double abundance) {
    if (target < 0 || target >= static_cast<long long>(q.size())) {
        return;
    }
    double& entry = q[static_cast<std::size_t>(target)];
    entry = static_cast<double>(static_cast<Extended>(entry) +
                                static_cast<Extended>(source) * abundance / 100.0L);
    if (std::isinf(entry)) {
        throw text::Error::overflow();
    }
}

} // namespace

void runLiteralEngine(const Composition& composition, const data::TextGrid& isotopes,
                      char separator, LiteralRun& run) {
    run.n0 = 0;
    for (const WorkingElement& element : composition.elements) {
        run.n0 += text::roundHalfEven32(static_cast<Extended>(element.weight) * element.count);
    }
    run.w = 0;
    for (const WorkingElement& element : composition.elements) {
        const int width = text::parseInteger(isotopes.cell(data::WidthColumn, element.column));
        run.w += text::roundHalfEven32(static_cast<Extended>(width) * element.count);
    }
    const long long length = 3 * run.w + run.n0 + 1;
    const long long first = run.n0 - run.w;
    const long long last = run.n0 + run.w;
    auto inArray = [length](long long i) { return i >= 0 && i < length; };

    std::vector<double>& p = run.p;
    p.assign(static_cast<std::size_t>(length), 0.0);
    if (inArray(run.n0)) {
        p[static_cast<std::size_t>(run.n0)] = 300;
    }

    for (const WorkingElement& element : composition.elements) {
        const int atoms = text::roundHalfEven32(element.count);
        std::vector<long long> offsets(10, 0);
        std::vector<double> x(10, 0.0);
        for (int j = 1; j <= 9; ++j) {
            offsets[static_cast<std::size_t>(j)] =
                text::parseInteger(isotopes.cell(data::FirstOffsetColumn + j - 1, element.column));
        }
        for (int j = 0; j <= 9; ++j) {
            x[static_cast<std::size_t>(j)] = text::parseReal(
                isotopes.cell(data::FirstAbundanceColumn + j, element.column), separator);
        }
        std::vector<double> q(static_cast<std::size_t>(length));
        for (int step = 0; step < atoms; ++step) {
            std::fill(q.begin(), q.end(), 0.0);
            run.msRange.edit5 = std::to_string(run.n0 - 2 * run.w);
            run.msRange.edit6 = std::to_string(run.n0 + 2 * run.w);
            for (long long i = first; i <= last; ++i) {
                if (!inArray(i)) {
                    continue;
                }
                const double source = p[static_cast<std::size_t>(i)];
                addTerm(q, i, source, x[0]);
                for (std::size_t j = 1; j <= 9; ++j) {
                    addTerm(q, i + offsets[j], source, x[j]);
                }
            }
            for (long long i = first; i <= last; ++i) {
                if (inArray(i)) {
                    p[static_cast<std::size_t>(i)] = q[static_cast<std::size_t>(i)];
                }
            }
        }
        run.grid = p;
        ++run.gridRefills;
    }

    const long long from = std::max(first, 0LL);
    const long long to = std::min(last, length - 1);
    double max = from <= to ? p[static_cast<std::size_t>(from)] : 0.0;
    for (long long i = from; i <= to; ++i) {
        if (p[static_cast<std::size_t>(i)] > max) {
            max = p[static_cast<std::size_t>(i)];
        }
    }
    for (long long i = from; i <= to; ++i) {
        double& entry = p[static_cast<std::size_t>(i)];
        entry = text::storeDouble(text::checkedDivide(static_cast<Extended>(entry) * 100.0L, max));
    }
    double total = 0;
    double moment = 0;
    for (long long i = from; i <= to; ++i) {
        const double entry = p[static_cast<std::size_t>(i)];
        total = text::storeDouble(static_cast<Extended>(total) + entry);
        moment =
            text::storeDouble(static_cast<Extended>(moment) + static_cast<Extended>(i) * entry);
    }
    run.centroid = text::storeDouble(text::checkedDivide(moment, total));
}

} // namespace orvane::calc::support
