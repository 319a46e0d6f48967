// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/section_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>

#include "hydraulics/section_hydraulics.h"

namespace veltrane {
namespace {

class CatalogueRow : public ::testing::TestWithParam<int> {
  protected:
    const USection& row() const { return LookupSection(static_cast<SectionSize>(GetParam())); }
    // Wall inclination in whole degrees: 7 … 11.
    double alphaDegrees() const { return 7 + GetParam(); }
};

TEST_P(CatalogueRow, IsTheRowOfItsSize) {
    EXPECT_EQ(row().standard, static_cast<SectionSize>(GetParam()));
    EXPECT_FALSE(row().userDefined);
    EXPECT_EQ(static_cast<int>(row().calcWindow), GetParam());
}

TEST_P(CatalogueRow, RadiusAndAnglesFollowTheWallInclination) {
    const USection& s = row();
    EXPECT_EQ(s.twoRadius, 2 * s.radius);
    EXPECT_EQ(s.arcAngle, 180 - 2 * alphaDegrees());
    // The stored decimals are the products with 3.141592654 to nine places.
    EXPECT_NEAR(s.alphaPi, alphaDegrees() * kPi, 5e-10);
    EXPECT_NEAR(s.betaPi, (90 - alphaDegrees()) * kPi, 5e-10);
}

TEST_P(CatalogueRow, TangentDepthLiesBelowTheChannelDepth) {
    const double t = TangentDepth(row());
    EXPECT_GT(t, 0.25);
    EXPECT_LT(t, row().channelDepth - 0.2);
}

TEST_P(CatalogueRow, ReportHeaderIsTheHeaderWithOneBlank) {
    EXPECT_EQ(std::string(row().reportHeader), std::string(row().headerText) + " ");
    EXPECT_NE(row().headerText.back(), ' ');
}

TEST_P(CatalogueRow, NamesReadBack) {
    const std::string name(SectionName(*row().standard));
    EXPECT_EQ(ParseSectionName(name), *row().standard);
    std::string lower = name;
    lower[0] = 'u';
    EXPECT_EQ(ParseSectionName(lower), *row().standard);
    std::string dName = name;
    dName[0] = 'd';
    EXPECT_EQ(ParseSectionName(dName), *row().standard);
    EXPECT_NE(row().sizeLabel.find(name), std::string_view::npos);
    EXPECT_NE(row().windowCaption.find(name), std::string_view::npos);
}

// The dimension table's top widths come from this geometry to within 1 cm.
TEST_P(CatalogueRow, TopWidthMatchesTheDimensionTable) {
    static constexpr double kTopWidthCm[] = {66, 88, 110, 132, 156};
    const USection& s = row();
    const double alpha = s.alphaPi / 180;
    const double top =
        2 * s.radius * std::cos(alpha) + 2 * (s.channelDepth - TangentDepth(s)) * std::tan(alpha);
    EXPECT_NEAR(top * 100, kTopWidthCm[GetParam()], 1.0);
}

INSTANTIATE_TEST_SUITE_P(AllSizes, CatalogueRow, ::testing::Range(0, kSectionCount),
                         [](const auto& info) {
                             return std::string(SectionName(static_cast<SectionSize>(info.param)));
                         });

TEST(SectionCatalogue, OnlyU60ConvertsWithTheShortPi) {
    EXPECT_EQ(LookupSection(SectionSize::U60).piDeg, 3.1415926);
    EXPECT_EQ(LookupSection(SectionSize::U60).reportDecimals, 3);
    for (int i = 1; i < kSectionCount; ++i) {
        EXPECT_EQ(SectionCatalogue[i].piDeg, kPi);
        EXPECT_EQ(SectionCatalogue[i].reportDecimals, 4);
    }
}

TEST(SectionCatalogue, DefaultDischargesKeepTheirTrailingZeros) {
    EXPECT_EQ(LookupSection(SectionSize::U120).defaultDischarge, "0.90");
    EXPECT_EQ(LookupSection(SectionSize::U140).defaultDischarge, "1.20");
}

TEST(SectionCatalogue, CaptionsOfTheSmallSizesBeginWithABlank) {
    EXPECT_EQ(LookupSection(SectionSize::U100).windowCaption, " Veltrane U100----Dorvane");
    EXPECT_EQ(LookupSection(SectionSize::U120).windowCaption, "Veltrane U120----Dorvane");
}

TEST(SectionCatalogue, RejectsUnknownNames) {
    for (const char* name : {"", "U", "U70", "U600", "X60", "60", "U60 ", "D1400"}) {
        EXPECT_EQ(ParseSectionName(name), std::nullopt) << name;
    }
}

}  // namespace
}  // namespace veltrane
