// The core words its reasons from the shipped English catalogue in every test, as it does in
// a program folder whose club.txt lacks the keys.
#include <gtest/gtest.h>

#include "core/app/catalogue.h"

namespace {

class ShippedCatalogue : public ::testing::Environment {
public:
    void SetUp() override {
        plumet::TextCatalogue shipped;
        shipped.LoadFromBytes(plumet::ReadWholeFile(plumet::Path(PLUMET_SOURCE_DIR) / "data" / "club.txt").bytes);
        plumet::UseCatalogues({}, std::move(shipped));
    }
};

[[maybe_unused]] const auto* const kShipped = ::testing::AddGlobalTestEnvironment(new ShippedCatalogue);

} // namespace
