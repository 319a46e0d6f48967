// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/user_sections.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "hydraulics/float_chars.h"
#include "hydraulics/number_rules.h"
#include "hydraulics/section_hydraulics.h"

namespace veltrane {

// A user's row with the texts its USection's views point into. Built once,
// never moved: it is only ever held by a shared pointer.
class UserSection {
  public:
    explicit UserSection(const SectionDefinition& definition);
    UserSection(const UserSection&) = delete;
    UserSection& operator=(const UserSection&) = delete;

    const USection& row() const { return row_; }

  private:
    std::string name_, header_, reportHeader_, label_, caption_;
    std::string depthCm_, topCm_, slabCm_, angleDeg_, radiusCm_;
    USection row_{};
};

namespace {

// A length or angle as the dimension table shows it: at most three decimals,
// no trailing zeros ("45", "4.5", "66.34").
std::string DimensionText(double value) {
    char buffer[64];
    const auto r = ToChars(buffer, buffer + sizeof buffer, RoundHalfEven(value, 3));
    return std::string(buffer, r.ptr);
}

// The nearest double to the decimal product: α·3.141592654 has at most nine
// places more than α, so twelve places keep every α of up to three.
double AngleConstant(double degrees) {
    return RoundHalfEven(degrees * kPi, 12);
}

// Well-formed UTF-8 without C0 or C1 controls or DEL.
bool IsPrintableUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x20 || b == 0x7F) {
            return false;
        }
        if (b < 0x80) {
            ++i;
            continue;
        }
        const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || b > 0xF4 || i + static_cast<std::size_t>(length) > text.size()) {
            return false;
        }
        char32_t c = b & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            c = (c << 6) | (t & 0x3F);
        }
        const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        // C1 controls, and the marks that turn the direction of the text
        // around them (a name must read as it is written).
        const bool bidi = c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
                          (c >= 0x2066 && c <= 0x2069) || c == 0x061C;
        if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || (c >= 0x80 && c <= 0x9F) ||
            bidi) {
            return false;
        }
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// Blanks around a name are not part of it: ASCII blanks and tabs, the
// no-break space and the ideographic (full-width) space.
std::string_view Trim(std::string_view text) {
    static constexpr std::string_view kBlanks[] = {" ", "\t", "\xC2\xA0", "\xE3\x80\x80"};
    bool cut = true;
    while (cut) {
        cut = false;
        for (const std::string_view b : kBlanks) {
            if (text.starts_with(b)) {
                text.remove_prefix(b.size());
                cut = true;
            }
            if (text.ends_with(b)) {
                text.remove_suffix(b.size());
                cut = true;
            }
        }
    }
    return text;
}

// The name with full-width ASCII (Ｕ８０) as ASCII, so that a look-alike of
// a standard size is taken for it.
std::string HalfWidth(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(text[i]);
        if (b0 == 0xEF && i + 2 < text.size()) {
            const auto b1 = static_cast<unsigned char>(text[i + 1]);
            const auto b2 = static_cast<unsigned char>(text[i + 2]);
            const unsigned c = ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu) | 0xF000u;
            if (c >= 0xFF01 && c <= 0xFF5E) {
                out += static_cast<char>(c - 0xFF01 + 0x21);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// "U:" starts a section given by its dimensions on the command line.
bool StartsLikeAnOperand(std::string_view name) {
    return name.size() >= 2 && (name[0] == 'U' || name[0] == 'u') && name[1] == ':';
}

// The numbers of a row, before its texts: enough to find its tangent depth
// by the calculation's own trigonometry.
USection NumbersOf(const SectionDefinition& definition) {
    USection s{};
    s.radius = definition.radius;
    s.twoRadius = 2 * definition.radius;
    s.alphaPi = AngleConstant(definition.alphaDeg);
    s.arcAngle = 180 - 2 * definition.alphaDeg;
    s.betaPi = AngleConstant(90 - definition.alphaDeg);
    s.channelDepth = definition.depth;
    s.piDeg = kPi;
    s.reportDecimals = 4;
    return s;
}

}  // namespace

UserSection::UserSection(const SectionDefinition& definition)
    : name_(Trim(definition.name)),
      header_("显示计算成果： " + name_ + "形渠道构件。"),
      reportHeader_(header_ + " "),
      label_(name_ + "形渠道构件"),
      caption_("Veltrane " + name_),
      depthCm_(DimensionText(definition.depth * 100)),
      // A worked-out B to the millimetre, as a drawing would give it.
      topCm_(
          definition.topCm
              ? DimensionText(*definition.topCm)
              : DimensionText(RoundHalfEven(
                    TopWidth(definition.radius, definition.alphaDeg, definition.depth) * 100, 1))),
      slabCm_(definition.slabCm ? DimensionText(*definition.slabCm) : std::string()),
      angleDeg_(DimensionText(definition.alphaDeg)),
      radiusCm_(DimensionText(definition.radius * 100)) {
    row_ = NumbersOf(definition);
    row_.standard = std::nullopt;
    row_.defaultDischarge = "";
    row_.headerText = header_;
    row_.reportHeader = reportHeader_;
    row_.calcWindow = CalcWindow::Form3;  // no window serves a user's row
    row_.windowCaption = caption_;
    row_.sizeLabel = label_;
    row_.name = name_;
    row_.dimensions = {.name = name_,
                       .depthCm = depthCm_,
                       .topWidthCm = topCm_,
                       .slabCm = slabCm_,
                       .angleDeg = angleDeg_,
                       .radiusCm = radiusCm_};
    row_.userDefined = true;
    row_.topWidthComputed = !definition.topCm;
}

double TangentDepth(double radius, double alphaDeg) {
    return radius * (1 - std::sin(alphaDeg * kPi / 180));
}

double TopWidth(double radius, double alphaDeg, double depth) {
    const double a = alphaDeg * kPi / 180;
    return 2 * (radius * std::cos(a) + (depth - TangentDepth(radius, alphaDeg)) * std::tan(a));
}

std::vector<DefinitionProblem> CheckDefinition(const SectionDefinition& definition) {
    std::vector<DefinitionProblem> problems;
    const std::string_view name = Trim(definition.name);
    if (name.empty()) {
        problems.push_back(DefinitionProblem::NameEmpty);
    } else if (name.size() > kMaxSectionNameBytes) {
        problems.push_back(DefinitionProblem::NameTooLong);
    } else if (!IsPrintableUtf8(name)) {
        problems.push_back(DefinitionProblem::NameControl);
    } else if (ParseSectionName(HalfWidth(name))) {
        problems.push_back(DefinitionProblem::NameStandard);
    } else if (StartsLikeAnOperand(HalfWidth(name))) {
        problems.push_back(DefinitionProblem::NameOperand);
    }
    // Over 100 m is a typing error, not a U-channel, and would only
    // overflow the searches.
    const bool radiusOk =
        std::isfinite(definition.radius) && definition.radius > 0 && definition.radius <= 100;
    const bool alphaOk =
        std::isfinite(definition.alphaDeg) && definition.alphaDeg >= 0 && definition.alphaDeg < 45;
    bool depthOk =
        std::isfinite(definition.depth) && definition.depth > 0 && definition.depth <= 100;
    if (depthOk && radiusOk && alphaOk) {
        // Judged by the calculation's own trigonometry, so that every depth
        // the searches reach above the arc meets a wall.
        depthOk = definition.depth > TangentDepth(NumbersOf(definition));
    }
    if (!radiusOk) {
        problems.push_back(DefinitionProblem::Radius);
    }
    if (!alphaOk) {
        problems.push_back(DefinitionProblem::Alpha);
    }
    if (!depthOk) {
        problems.push_back(DefinitionProblem::Depth);
    }
    if (definition.slabCm && !(std::isfinite(*definition.slabCm) && *definition.slabCm > 0 &&
                               *definition.slabCm <= 100)) {
        problems.push_back(DefinitionProblem::Slab);
    }
    if (definition.topCm && !(std::isfinite(*definition.topCm) && *definition.topCm > 0)) {
        problems.push_back(DefinitionProblem::Top);
    }
    return problems;
}

SectionSet::SectionSet() = default;

std::vector<DefinitionProblem> SectionSet::Add(const SectionDefinition& definition) {
    std::vector<DefinitionProblem> problems = CheckDefinition(definition);
    const std::string_view name = Trim(definition.name);
    const bool repeated = std::any_of(users_.begin(), users_.end(), [&](const auto& u) {
        return SameIgnoringAsciiCase(u->row().name, name);
    });
    if (repeated) {
        problems.insert(problems.begin(), DefinitionProblem::NameRepeated);
    }
    if (users_.size() >= kMaxUserSections) {
        problems.push_back(DefinitionProblem::TooMany);
    }
    if (problems.empty()) {
        users_.push_back(std::make_shared<const UserSection>(definition));
    }
    return problems;
}

SectionRef StandardRef(SectionSize size) {
    // The catalogue lives as long as the program: nothing to own.
    return SectionRef(SectionRef(), &LookupSection(size));
}

SectionRef SectionSet::Find(std::string_view text) const {
    const std::string_view name = Trim(text);
    if (const auto size = ParseSectionName(name)) {
        return StandardRef(*size);
    }
    for (const auto& u : users_) {
        if (SameIgnoringAsciiCase(u->row().name, name)) {
            return SectionRef(u, &u->row());
        }
    }
    return nullptr;
}

std::vector<const USection*> SectionSet::All() const {
    std::vector<const USection*> all;
    for (const USection& s : SectionCatalogue) {
        all.push_back(&s);
    }
    for (const auto& u : users_) {
        all.push_back(&u->row());
    }
    return all;
}

std::vector<const USection*> SectionSet::ByArea() const {
    std::vector<const USection*> all = All();
    std::stable_sort(all.begin(), all.end(), [](const USection* a, const USection* b) {
        return FullArea(*a) < FullArea(*b);
    });
    return all;
}

SectionRef MakeUserSection(const SectionDefinition& definition) {
    if (!CheckDefinition(definition).empty()) {
        return nullptr;
    }
    auto owner = std::make_shared<const UserSection>(definition);
    return {owner, &owner->row()};
}

double FullArea(const USection& section) {
    return ComputeFlowElements(section, section.channelDepth, {.roughness = 1, .slope = 1},
                               SearchKind::Design)
        .area;
}

}  // namespace veltrane
