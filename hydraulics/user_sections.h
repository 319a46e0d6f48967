// SPDX-License-Identifier: GPL-3.0-or-later
// Sections the user defines by their dimensions, beside the five standard
// rows: a maker's other sizes, or a U-channel cast in place. A user's row is
// built by the standard rows' rules that do not depend on a size's identity:
// the arc's central angle 180 − 2α, the angle constants α·π and (90 − α)·π
// with π = 3.141592654, and four decimals in the report.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hydraulics/section_catalogue.h"

namespace veltrane {

struct SectionDefinition {
    std::string name;                // as the report header and the tables name it
    double radius = 0;               // r, m, > 0
    double alphaDeg = 0;             // wall angle α from the vertical, degrees, 0 ≤ α < 45
    double depth = 0;                // channel depth H, m, above the tangent depth r(1 − sin α)
    std::optional<double> slabCm{};  // slab thickness δ, cm, > 0, when given
    std::optional<double> topCm{};   // width at the top B, cm, > 0, when given
};

// What is wrong with a definition, in the order of its fields.
enum class DefinitionProblem {
    NameEmpty,     // nothing but blanks
    NameTooLong,   // over kMaxSectionNameBytes
    NameControl,   // a control or direction mark, or a byte that is not UTF-8
    NameStandard,  // names a standard size (U60 … U140, D60 … D140), also in full width
    NameOperand,   // starts with "U:", as a section given by its dimensions
    NameRepeated,  // an earlier row's name, in any case
    Radius,        // not above 0, or over 100 m
    Alpha,         // outside 0 ≤ α < 45
    Depth,         // not above the tangent depth, or over 100 m
    Slab,          // given, but not above 0 or over 100 cm
    Top,           // given, but not above 0
    TooMany,       // past kMaxUserSections rows
};

// Names are written into headers, tables and drawings: long enough for
// "现浇U形渠 r=0.45 右干渠", short enough to fit a table's column.
inline constexpr std::size_t kMaxSectionNameBytes = 60;

// A maker's catalogue holds a few dozen sizes at most. The selection table
// searches every section's capacity at every slope (about 4 ms each), so
// 55 sections at 50 slopes already take some 10 s.
inline constexpr std::size_t kMaxUserSections = 50;

// The definition's own problems (all but NameRepeated and TooMany), in field order.
std::vector<DefinitionProblem> CheckDefinition(const SectionDefinition& definition);

// r(1 − sin α), m: where the walls meet the bottom arc.
double TangentDepth(double radius, double alphaDeg);

// Inner width at the top, r cos α + (H − tangent depth) tan α on each side, m.
double TopWidth(double radius, double alphaDeg, double depth);

class UserSection;

// A section that keeps a user's row alive for as long as it is held; a
// standard row needs no keeping.
using SectionRef = std::shared_ptr<const USection>;

SectionRef StandardRef(SectionSize size);

// The standard five and the user's rows. Copies share the user's rows, which
// never change once added, so a USection reference stays good as long as any
// copy lives.
class SectionSet {
  public:
    SectionSet();

    // Adds a definition that CheckDefinition passes and whose name is new; else nothing
    // is added and the problems come back.
    std::vector<DefinitionProblem> Add(const SectionDefinition& definition);

    // A standard name (U60 … U140 or D60 … D140, any case) or a user's name
    // (any ASCII case), blanks around it ignored; nothing for another text.
    SectionRef Find(std::string_view name) const;

    // The standard five in their order, then the user's rows in theirs.
    std::vector<const USection*> All() const;

    // All of them ordered by their area at the channel depth, smallest first;
    // a standard row stands before a user's row of the same area.
    std::vector<const USection*> ByArea() const;

    std::size_t userCount() const { return users_.size(); }

  private:
    std::vector<std::shared_ptr<const UserSection>> users_;
};

// A one-off row outside any set, for a single run: the row lives as long as
// the returned pointer. Nothing for a definition that CheckDefinition refuses.
SectionRef MakeUserSection(const SectionDefinition& definition);

// The area at the channel depth, m².
double FullArea(const USection& section);

}  // namespace veltrane
