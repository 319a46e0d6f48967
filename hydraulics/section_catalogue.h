// SPDX-License-Identifier: GPL-3.0-or-later
// The five standard precast U-sections. Every per-size fact the calculation
// needs lives in one row of SectionCatalogue; nothing is recomputed from the
// wall angle or the radius at run time.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace veltrane {

// Order matters: it is the order of the main window's option buttons and of
// the rows of its dimension table.
enum class SectionSize { U60, U80, U100, U120, U140 };

inline constexpr int kSectionCount = 5;

// The calculation window that serves a size.
enum class CalcWindow { Form2, Form3, Form4, Form5, Form7 };

// The main dimensions of a section as the dimension table and the sheet
// quote them. Display only: the calculation uses the row's own numbers. An
// empty text is a dimension the user did not give.
struct SectionDimensions {
    std::string_view name;        // "D60", as the main window names the size
    std::string_view depthCm;     // channel depth H, cm
    std::string_view topWidthCm;  // width at the top of the channel, cm
    std::string_view slabCm;      // slab thickness, cm
    std::string_view angleDeg;    // wall inclination α, degrees
    std::string_view radiusCm;    // radius of the bottom arc, cm
};

// One row of the calculation: a standard size, or a section the user defined
// (see user_sections.h), whose texts live as long as its SectionSet.
struct USection {
    std::optional<SectionSize> standard;  // the standard size; empty for a user's section
    double radius;                        // r, m
    double twoRadius;                     // 2r, m, held as its own decimal
    double alphaPi;   // wall inclination α in degrees times π; α in radians is alphaPi / 180
    double arcAngle;  // central angle of the whole bottom arc, 180 − 2α, degrees
    double betaPi;    // (90 − α) · π; half the arc's central angle in radians is betaPi / 180
    double channelDepth;                // H, m: bound of both depth searches
    double piDeg;                       // π of the design search's radians-to-degrees conversion
    int reportDecimals;                 // decimals of the depth and element lines of the report
    std::string_view defaultDischarge;  // default text of the discharge box, m³/s
    std::string_view headerText;        // written into the report box when a run starts
    std::string_view reportHeader;      // headerText plus one ASCII blank
    CalcWindow calcWindow;
    std::string_view windowCaption;
    std::string_view sizeLabel;
    std::string_view name;  // "U60" … "U140", or the user's name
    SectionDimensions dimensions;
    bool userDefined = false;
    bool topWidthComputed = false;  // a user's B worked out from r, α and H
};

extern const std::array<USection, kSectionCount> SectionCatalogue;

const USection& LookupSection(SectionSize size);

// The five rows in their order, for the design aids that run over a list of
// sections.
std::span<const USection* const> StandardSections();

// "U60" … "U140".
std::string_view SectionName(SectionSize size);

// Whether two names are the same but for the case of ASCII letters.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);

// Reads "U60" … "U140" or the main window's "D60" … "D140", in any case.
std::optional<SectionSize> ParseSectionName(std::string_view text);

// The π of every conversion but the design search's degree conversion.
inline constexpr double kPi = 3.141592654;

}  // namespace veltrane
