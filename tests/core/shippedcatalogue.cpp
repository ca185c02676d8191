// The core words its reasons from the shipped English catalogue in every test, as it does in
// a program folder whose club.txt lacks the keys.
#include <gtest/gtest.h>

#include "testfolder.h"

namespace {

struct UseShippedCatalogue : ::testing::Environment {
    void SetUp() override { plumet::UseCatalogues({}, plumet::ShippedCatalogue("club.txt")); }
};

[[maybe_unused]] const auto* const kShipped = ::testing::AddGlobalTestEnvironment(new UseShippedCatalogue);

} // namespace
