// Thread milling writes its normalised coordinates back into the boxes; the
// goldens see only the program, so the texts left in the boxes are checked here.
#include <gtest/gtest.h>

#include "operations/catalog.hpp"

namespace tesmara {
namespace {

struct CoordinateCase {
    std::string_view typed;
    std::string_view shown;
};

class ThreadCoordinates : public testing::TestWithParam<CoordinateCase> {};

TEST_P(ThreadCoordinates, BoxesKeepTheNormalisedTextAndASecondPressChangesNothing) {
    const auto [typed, shown] = GetParam();
    FieldValues fields{{"coordX", std::string(typed)}, {"coordY", std::string(typed)}};
    const GlobalSettings settings;
    const std::string first = generateOperation(kThread, fields, settings, false, false);
    EXPECT_EQ(fields["coordX"], shown);
    EXPECT_EQ(fields["coordY"], shown);

    const std::string second = generateOperation(kThread, fields, settings, false, false);
    EXPECT_EQ(second, first);
    EXPECT_EQ(fields["coordX"], shown);
    EXPECT_EQ(fields["coordY"], shown);
}

INSTANTIATE_TEST_SUITE_P(Typed, ThreadCoordinates,
                         testing::Values(CoordinateCase{"", "0."}, CoordinateCase{"12", "12."},
                                         CoordinateCase{"1.5", "1.5"}, CoordinateCase{"12.", "12."},
                                         CoordinateCase{" ", " ."}));

}  // namespace
}  // namespace tesmara
