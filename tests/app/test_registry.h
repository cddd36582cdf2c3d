#pragma once

#include "support/qt_test_registry.h"

namespace orvane::app::testing {

using testing_support::RegisterTest;
using testing_support::TestFactory;
using testing_support::testRegistry;

} // namespace orvane::app::testing
