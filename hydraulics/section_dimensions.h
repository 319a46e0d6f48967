// SPDX-License-Identifier: GPL-3.0-or-later
// The table of main dimensions of the standard precast U-sections, as the
// main window shows it and the calculation sheet quotes it. Display only:
// the calculation uses the catalogue's own values.
#pragma once

#include <array>
#include <string_view>

#include "hydraulics/section_catalogue.h"

namespace veltrane {

inline constexpr std::array<SectionDimensions, kSectionCount> kDimensionTable = {{
    {.name = "D60",
     .depthCm = "54",
     .topWidthCm = "66",
     .slabCm = "4.0",
     .angleDeg = "7",
     .radiusCm = "30"},
    {.name = "D80",
     .depthCm = "64",
     .topWidthCm = "88",
     .slabCm = "4.5",
     .angleDeg = "8",
     .radiusCm = "40"},
    {.name = "D100",
     .depthCm = "75",
     .topWidthCm = "110",
     .slabCm = "5.0",
     .angleDeg = "9",
     .radiusCm = "50"},
    {.name = "D120",
     .depthCm = "90",
     .topWidthCm = "132",
     .slabCm = "5.5",
     .angleDeg = "10",
     .radiusCm = "60"},
    {.name = "D140",
     .depthCm = "105",
     .topWidthCm = "156",
     .slabCm = "6.0",
     .angleDeg = "11",
     .radiusCm = "70"},
}};

inline const SectionDimensions& DimensionsOf(SectionSize size) {
    return kDimensionTable[static_cast<std::size_t>(size)];
}

}  // namespace veltrane
