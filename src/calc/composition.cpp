#include "calc/composition.h"

#include "text/extended.h"

namespace orvane::calc {

double LabelElement::averageMass() const {
    text::Extended mean = 0;
    for (const LabelIsotope& isotope : isotopes) {
        mean += static_cast<text::Extended>(isotope.probability) * isotope.mass;
    }
    return static_cast<double>(mean);
}

} // namespace orvane::calc
