// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/user_sections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "hydraulics/calculation_run.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/section_hydraulics.h"

namespace veltrane {
namespace {

SectionDefinition Definition(std::string name, double r, double alpha, double h) {
    return {.name = std::move(name), .radius = r, .alphaDeg = alpha, .depth = h};
}

// The report with its first line, the header, taken off.
std::string Body(const std::string& report) {
    return report.substr(report.find('\n'));
}

// A section given the dimensions of a standard size is that size: the same
// numbers on every line, and the same messages, for depths in the arc, in
// the walls and above the channel. U60 alone differs, by its shorter π.
TEST(UserSection, WithAStandardSizesDimensionsReportsAsThatSize) {
    struct Case {
        SectionSize size;
        double r, alpha, h;
    };
    const Case cases[] = {{SectionSize::U80, 0.4, 8, 0.64},
                          {SectionSize::U100, 0.5, 9, 0.75},
                          {SectionSize::U120, 0.6, 10, 0.9},
                          {SectionSize::U140, 0.7, 11, 1.05}};
    const CalculationInputs inputs[] = {
        {"0.4", "500", "0.017", "1.2"},   {"0.02", "3000", "0.014", "1.0"},
        {"1.5", "200", "0.012", "1.15"},  {"9", "500", "0.017", "1.0"},
        {"0.55", "1000", "0.015", "1.5"}, {"0.25", "-5", "0.017", "1.0"},
    };
    for (const Case& c : cases) {
        const SectionRef own = MakeUserSection(Definition("自定义", c.r, c.alpha, c.h));
        ASSERT_NE(own, nullptr);
        for (const CalculationInputs& in : inputs) {
            const CalculationOutcome mine = RunCalculation(*own, in);
            const CalculationOutcome standard = RunCalculation(LookupSection(c.size), in);
            ASSERT_EQ(mine.isReport(), standard.isReport()) << own->name << " Q " << in.discharge;
            if (mine.isReport()) {
                EXPECT_EQ(Body(mine.report().text), Body(standard.report().text));
                EXPECT_EQ(mine.report().printed, standard.report().printed);
                EXPECT_EQ(mine.report().text.substr(0, mine.report().text.find('\n')),
                          "显示计算成果： 自定义形渠道构件。 \r");
            } else {
                EXPECT_EQ(mine.message().number, standard.message().number);
                EXPECT_EQ(mine.message().text, standard.message().text);
            }
        }
    }
}

// The inner outline as a fine polyline, from the bottom up the right side:
// the arc about (0, r) from the bottom to where the wall leaves it at α from
// the vertical, then the straight wall. Its area, wetted length and width
// at a depth are summed from the polyline, not from any closed formula.
struct Traced {
    double area = 0, perimeter = 0, width = 0;
};

Traced TraceOutline(double r, double alphaDeg, double h) {
    const double alpha = alphaDeg * std::numbers::pi / 180;
    const double beta = std::numbers::pi / 2 - alpha;  // half the arc's central angle
    std::vector<std::pair<double, double>> points;
    constexpr int kSteps = 400000;
    for (int i = 0; i <= kSteps; ++i) {
        const double a = beta * i / kSteps;
        points.emplace_back(r * std::sin(a), r - r * std::cos(a));
    }
    const auto [tx, ty] = points.back();
    for (int i = 1; i <= kSteps; ++i) {
        const double y = ty + (10 * r) * i / kSteps;
        points.emplace_back(tx + (y - ty) * std::tan(alpha), y);
    }
    Traced t;
    double areaHalf = 0;  // ∫ x dy from 0 to h, by trapezoids on the polyline
    for (std::size_t i = 1; i < points.size(); ++i) {
        auto [x0, y0] = points[i - 1];
        auto [x1, y1] = points[i];
        if (y0 >= h) {
            break;
        }
        if (y1 > h) {
            x1 = x0 + (x1 - x0) * (h - y0) / (y1 - y0);
            y1 = h;
        }
        t.perimeter += 2 * std::hypot(x1 - x0, y1 - y0);
        areaHalf += (x0 + x1) / 2 * (y1 - y0);
        t.width = 2 * x1;
    }
    // Area under the surface: the rectangle of half-width minus nothing —
    // the water lies between the axis and the wall, so ∫ x dy is the half.
    t.area = 2 * areaHalf;
    return t;
}

TEST(UserSection, ElementsAgreeWithATracedOutline) {
    struct Odd {
        double r, alpha, H;
    };
    // Vertical walls, a wide angle, and a radius no catalogue has.
    const Odd sections[] = {{0.45, 8, 0.6}, {0.235, 0, 0.5}, {1.3, 31.5, 1.6}};
    for (const Odd& o : sections) {
        const SectionRef s = MakeUserSection(Definition("odd", o.r, o.alpha, o.H));
        ASSERT_NE(s, nullptr);
        const double tangent = o.r * (1 - std::sin(o.alpha * std::numbers::pi / 180));
        // Low in the arc, just under and over the tangent point, in the walls, at H.
        for (const double h : {0.05 * tangent, 0.6 * tangent, tangent - 1e-4, tangent + 1e-4,
                               (tangent + o.H) / 2, o.H}) {
            const Traced t = TraceOutline(o.r, o.alpha, h);
            const FlowElements e =
                ComputeFlowElements(*s, h, {.roughness = 0.014, .slope = 1000}, SearchKind::Design);
            const std::string where = "r " + std::to_string(o.r) + " α " + std::to_string(o.alpha) +
                                      " h " + std::to_string(h);
            EXPECT_NEAR(e.area, t.area, 1e-7 * t.area + 1e-12) << where;
            EXPECT_NEAR(e.wettedPerimeter, t.perimeter, 1e-7 * t.perimeter) << where;
            EXPECT_NEAR(e.surfaceWidth, t.width, 1e-7 * t.width) << where;
        }
    }
}

TEST(UserSection, RowFollowsTheStandardRules) {
    const SectionRef s = MakeUserSection(
        {.name = "  U50 ", .radius = 0.25, .alphaDeg = 6.5, .depth = 0.45, .slabCm = 3.5});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->name, "U50");  // blanks around a name are not part of it
    EXPECT_TRUE(s->userDefined);
    EXPECT_FALSE(s->standard.has_value());
    EXPECT_EQ(s->arcAngle, 167);
    EXPECT_EQ(s->alphaPi, 20.420352251);  // 6.5 · 3.141592654
    EXPECT_EQ(s->betaPi, 262.322986609);  // 83.5 · 3.141592654
    EXPECT_EQ(s->piDeg, 3.141592654);
    EXPECT_EQ(s->reportDecimals, 4);
    EXPECT_EQ(s->headerText, "显示计算成果： U50形渠道构件。");
    EXPECT_EQ(s->reportHeader, "显示计算成果： U50形渠道构件。 ");
    EXPECT_EQ(s->sizeLabel, "U50形渠道构件");
    EXPECT_EQ(s->dimensions.radiusCm, "25");
    EXPECT_EQ(s->dimensions.depthCm, "45");
    EXPECT_EQ(s->dimensions.angleDeg, "6.5");
    EXPECT_EQ(s->dimensions.slabCm, "3.5");
    // B not given: 2[r cos α + (H − r(1 − sin α)) tan α] = 2(0.248393 + 0.228301 · 0.113936) m
    // = 54.881 cm, given to the millimetre.
    EXPECT_TRUE(s->topWidthComputed);
    EXPECT_EQ(s->dimensions.topWidthCm, "54.9");
}

// Worked out from r, α and H, B lands within a centimetre of each standard
// size's tabled width.
TEST(UserSection, ComputedTopWidthMatchesTheStandardTable) {
    const double tabled[] = {66, 88, 110, 132, 156};
    const double r[] = {0.3, 0.4, 0.5, 0.6, 0.7};
    const double alpha[] = {7, 8, 9, 10, 11};
    const double h[] = {0.54, 0.64, 0.75, 0.9, 1.05};
    for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(TopWidth(r[i], alpha[i], h[i]) * 100, tabled[i], 1.0) << i;
    }
}

TEST(UserSection, EveryBadFieldIsNamed) {
    using P = DefinitionProblem;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        SectionDefinition definition;
        std::vector<P> problems;
    };
    const std::string tooLong(61, 'x');
    const Case cases[] = {
        {Definition("", 0.4, 8, 0.64), {P::NameEmpty}},
        {Definition(" \t ", 0.4, 8, 0.64), {P::NameEmpty}},
        {Definition(tooLong, 0.4, 8, 0.64), {P::NameTooLong}},
        {Definition(std::string(60, 'x'), 0.4, 8, 0.64), {}},
        {Definition("a\x1b[2Jb", 0.4, 8, 0.64), {P::NameControl}},
        {Definition("a\xC2\x85", 0.4, 8, 0.64), {P::NameControl}},  // NEL, a C1 control
        {Definition("\xE6\xB8", 0.4, 8, 0.64), {P::NameControl}},   // a cut character
        {Definition("\xC0\xAF", 0.4, 8, 0.64), {P::NameControl}},   // an overlong '/'
        {Definition("u80", 0.4, 8, 0.64), {P::NameStandard}},
        {Definition("\xEF\xBC\xB5\xEF\xBC\x98\xEF\xBC\x90", 0.4, 8, 0.64),
         {P::NameStandard}},  // Ｕ８０
        {Definition("U:r=0.4", 0.4, 8, 0.64), {P::NameOperand}},
        {Definition("u:1", 0.4, 8, 0.64), {P::NameOperand}},
        {Definition("\xC2\xA0\xE3\x80\x80", 0.4, 8, 0.64),
         {P::NameEmpty}},  // no-break and ideographic spaces
        {Definition("ab\xE2\x80\xAE"
                    "cd",
                    0.4, 8, 0.64),
         {P::NameControl}},  // U+202E turns the text round
        {{.name = "U90", .radius = 0.4, .alphaDeg = 8, .depth = 0.64, .slabCm = 101}, {P::Slab}},
        {Definition("D140", 0.4, 8, 0.64), {P::NameStandard}},
        {Definition("U90", 0, 8, 0.64), {P::Radius}},
        {Definition("U90", -0.4, 8, 0.64), {P::Radius}},
        {Definition("U90", nan, 8, 0.64), {P::Radius}},
        {Definition("U90", 101, 8, 0.64), {P::Radius}},
        {Definition("U90", 0.4, -0.001, 0.64), {P::Alpha}},
        {Definition("U90", 0.4, 45, 0.64), {P::Alpha}},
        {Definition("U90", 0.4, 0, 0.41), {}},
        {Definition("U90", 0.4, 44.99, 0.64), {}},
        // The tangent depth of r 0.4, α 8 is 0.3443 m.
        {Definition("U90", 0.4, 8, 0.344), {P::Depth}},
        {Definition("U90", 0.4, 8, 0.345), {}},
        {Definition("U90", 0.4, 8, std::numeric_limits<double>::infinity()), {P::Depth}},
        {Definition("U90", 0.4, 8, 101), {P::Depth}},
        {Definition("", -1, 50, -1), {P::NameEmpty, P::Radius, P::Alpha, P::Depth}},
        {{.name = "U90", .radius = 0.4, .alphaDeg = 8, .depth = 0.64, .slabCm = 0}, {P::Slab}},
        {{.name = "U90", .radius = 0.4, .alphaDeg = 8, .depth = 0.64, .topCm = -3}, {P::Top}},
        {{.name = "U90", .radius = 0.4, .alphaDeg = 8, .depth = 0.64, .slabCm = 4, .topCm = 90},
         {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CheckDefinition(c.definition), c.problems)
            << c.definition.name << " r " << c.definition.radius;
        EXPECT_EQ(MakeUserSection(c.definition) == nullptr, !c.problems.empty())
            << c.definition.name;
    }
}

TEST(SectionSet, NamesAreUniqueInAnyCaseAndFoundSo) {
    SectionSet set;
    EXPECT_TRUE(set.Add(Definition("Ua", 0.3, 5, 0.5)).empty());
    EXPECT_EQ(set.Add(Definition(" uA", 0.4, 5, 0.5)),
              std::vector{DefinitionProblem::NameRepeated});
    EXPECT_EQ(set.Add(Definition("ua", -1, 5, 0.5)),
              (std::vector{DefinitionProblem::NameRepeated, DefinitionProblem::Radius}));
    EXPECT_EQ(set.userCount(), 1u);
    ASSERT_NE(set.Find("UA"), nullptr);
    EXPECT_EQ(set.Find(" ua\t")->radius, 0.3);
    EXPECT_EQ(set.Find("d80").get(), &LookupSection(SectionSize::U80));
    EXPECT_EQ(set.Find("U90"), nullptr);
    EXPECT_EQ(set.Find(""), nullptr);
}

TEST(SectionSet, TakesAtMostItsLimit) {
    SectionSet set;
    for (int i = 0; i < 50; ++i) {
        ASSERT_TRUE(set.Add(Definition("S" + std::to_string(i), 0.3, 5, 0.5)).empty()) << i;
    }
    EXPECT_EQ(set.Add(Definition("one more", 0.3, 5, 0.5)),
              std::vector{DefinitionProblem::TooMany});
    EXPECT_EQ(set.userCount(), 50u);
}

// The standard five keep their order; a user's rows fall in by their area
// at the channel depth, after a standard row of the same area.
TEST(SectionSet, OrdersByAreaAtTheChannelDepth) {
    SectionSet set;
    ASSERT_TRUE(set.Add(Definition("big", 0.9, 10, 1.2)).empty());
    ASSERT_TRUE(set.Add(Definition("small", 0.2, 5, 0.35)).empty());
    ASSERT_TRUE(set.Add(Definition("like U80", 0.4, 8, 0.64)).empty());
    std::vector<std::string_view> names;
    for (const USection* s : set.ByArea()) {
        names.push_back(s->name);
    }
    EXPECT_EQ(names, (std::vector<std::string_view>{"small", "U60", "U80", "like U80", "U100",
                                                    "U120", "U140", "big"}));
    const std::vector<const USection*> all = set.All();
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[5]->name, "big");
}

// A row found in a set outlives the set: copies and references share it.
TEST(SectionSet, FoundRowsOutliveTheSet) {
    SectionRef kept;
    {
        SectionSet set;
        ASSERT_TRUE(set.Add(Definition("渠甲", 0.45, 8, 0.6)).empty());
        const SectionSet copy = set;
        kept = copy.Find("渠甲");
    }
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->name, "渠甲");
    EXPECT_EQ(kept->channelDepth, 0.6);
}

TEST(SectionSet, FitRunsOverTheUsersRowsSmallestFirst) {
    SectionSet set;
    ASSERT_TRUE(set.Add(Definition("U70", 0.35, 7, 0.6)).empty());
    const std::vector<const USection*> order = set.ByArea();
    const FitResult fit = FitSections({"0.25", "1000", "0.014", "1.2"}, {}, order);
    ASSERT_EQ(fit.rows.size(), 6u);
    EXPECT_EQ(fit.rows[1].section->name, "U70");
    // U60 cannot carry 0.25 m³/s at 1/1000; U70, between it and U80, can.
    EXPECT_EQ(fit.rows[0].status, FitStatus::DesignAbove);
    ASSERT_NE(fit.smallest, nullptr);
    EXPECT_EQ(fit.smallest->name, "U70");
}

}  // namespace
}  // namespace veltrane
