#include "calc/composition.h"

namespace orvane::calc {

double LabelElement::averageMass() const {
    return static_cast<double>(data::meanMass(isotopes));
}

} // namespace orvane::calc
