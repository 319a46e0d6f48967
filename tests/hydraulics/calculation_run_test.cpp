// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/calculation_run.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace veltrane {

void PrintTo(const CalculationInputs& c, std::ostream* os) {
    *os << c.discharge << ' ' << c.slope << ' ' << c.roughness << ' ' << c.factor;
}

namespace {

const USection& Row(SectionSize size) {
    return LookupSection(size);
}

CalculationOutcome RunWith(SectionSize size, std::string_view q, std::string_view x = "500",
                           std::string_view n = "0.017", std::string_view k = "1.0") {
    return RunCalculation(Row(size), {q, x, n, k});
}

std::string Join(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (std::string_view line : lines) {
        if (!out.empty() || line != *lines.begin()) {
            out += "\r\n";
        }
        out += line;
    }
    return out;
}

// The nine value lines of a report, after its header line.
std::string Report(std::string_view header, const std::vector<std::string_view>& values) {
    static constexpr std::string_view kLabels[] = {
        "校核流量：Q =", "设计水深：h =", "校核水深：h1=", "流    速：V =", "水面宽度：b =",
        "过水面积：A =", "湿    周：X =", "水力半径：R =", "谢才系数：C ="};
    std::string out(header);
    out += "\r\n";
    int i = 0;
    for (std::string_view v : values) {
        if (i > 0) {
            out += "\r\n\r\n";
        }
        out += kLabels[i++];
        out += v;
    }
    return out;
}

TEST(RunCalculation, DefaultU60Report) {
    const CalculationOutcome r = RunWith(SectionSize::U60, "0.25");
    ASSERT_TRUE(r.isReport());
    EXPECT_EQ(r.header, "显示计算成果： U60形渠道构件。");
    EXPECT_EQ(r.report().text,
              Join({"显示计算成果： U60形渠道构件。 ", "校核流量：Q = .25", "",
                    "设计水深：h = .516", "", "校核水深：h1= .516", "", "流    速：V = .904", "",
                    "水面宽度：b = .657", "", "过水面积：A = .277", "", "湿    周：X = 1.376", "",
                    "水力半径：R = .201", "", "谢才系数：C = 45.034"}));
}

struct ReportCase {
    const char* name;
    SectionSize size;
    const char* q;
    const char* k;
    std::vector<std::string_view> values;
};

void PrintTo(const ReportCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(ReportTest, WholeText) {
    const ReportCase& c = GetParam();
    const CalculationOutcome r = RunWith(c.size, c.q, "500", "0.017", c.k);
    ASSERT_TRUE(r.isReport()) << r.message().text;
    EXPECT_EQ(r.report().text, Report(Row(c.size).reportHeader, c.values));
}

// Expected lines from an independent evaluation of the same formulas.
INSTANTIATE_TEST_SUITE_P(
    Inputs, ReportTest,
    ::testing::Values(
        ReportCase{
            "U60IncreasedDischarge",
            SectionSize::U60,
            "0.2",
            "1.2",
            {" .24", " .447", " .502", " .863", " .64", " .232", " 1.237", " .188", " 44.514"}},
        ReportCase{
            "U60DeepestReportable",
            SectionSize::U60,
            "0.2675",
            "1",
            {" .2675", " .539", " .539", " .916", " .663", " .292", " 1.422", " .205", " 45.186"}},
        ReportCase{"U60TinyDischarge",
                   SectionSize::U60,
                   "1e-9",
                   "1",
                   {" 0", " .002", " .002", " .02", " .049", " 0", " .049", " .001", " 17.384"}},
        ReportCase{
            "U60CheckDischargeTie",
            SectionSize::U60,
            "0.03125",
            "1",
            {" .0312", " .158", " .158", " .534", " .527", " .059", " .644", " .091", " 39.485"}},
        ReportCase{"U80Defaults",
                   SectionSize::U80,
                   "0.4",
                   "1.0",
                   {" .4", " .567", " .567", " 1.029", " .8545", " .3895", " 1.5926", " .2445",
                    " 46.5165"}},
        ReportCase{"U100Defaults",
                   SectionSize::U100,
                   "0.55",
                   "1.0",
                   {" .55", " .597", " .597", " 1.121", " 1.0429", " .4917", " 1.7665", " .2783",
                    " 47.5313"}},
        ReportCase{"U120Defaults",
                   SectionSize::U120,
                   "0.90",
                   "1.0",
                   {" .9", " .718", " .718", " 1.268", " 1.2598", " .7111", " 2.1247", " .3347",
                    " 49.0144"}},
        ReportCase{"U140Defaults",
                   SectionSize::U140,
                   "1.20",
                   "1.0",
                   {" 1.2", " .777", " .777", " 1.364", " 1.4557", " .8804", " 2.3573", " .3735",
                    " 49.9183"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCalculation, U140IncreasedDischargeOtherSlope) {
    const CalculationOutcome r =
        RunCalculation(Row(SectionSize::U140), {"2.1", "300", "0.015", "1.3"});
    ASSERT_TRUE(r.isReport());
    EXPECT_EQ(r.report().text, Report(Row(SectionSize::U140).reportHeader,
                                      {" 2.73", " .865", " 1.014", " 2.083", " 1.49", " 1.01",
                                       " 2.5366", " .3982", " 57.1811"}));
}

struct MessageCase {
    const char* name;
    SectionSize size;
    CalculationInputs inputs;
    int number;
    const char* text;
    InputBox box;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.name;
}

class MessageTest : public ::testing::TestWithParam<MessageCase> {};

TEST_P(MessageTest, ReportsTheFirstFailingCheck) {
    const MessageCase& c = GetParam();
    const CalculationOutcome r = RunCalculation(Row(c.size), c.inputs);
    ASSERT_FALSE(r.isReport());
    EXPECT_EQ(r.header, Row(c.size).headerText);
    EXPECT_EQ(static_cast<int>(r.message().number), c.number);
    EXPECT_EQ(r.message().text, c.text);
    EXPECT_EQ(r.message().box, c.box);
}

// Q, x, n, k as the boxes hold them.
INSTANTIATE_TEST_SUITE_P(Inputs, MessageTest,
                         ::testing::Values(MessageCase{"RoughnessLetters",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "abc", "1.0"},
                                                       1,
                                                       "糙率不能为0或负数，请重新输入。",
                                                       InputBox::text6},
                                           MessageCase{"RoughnessBeforeDischarge",
                                                       SectionSize::U60,
                                                       {"", "500", "0", "1.0"},
                                                       1,
                                                       "糙率不能为0或负数，请重新输入。",
                                                       InputBox::text6},
                                           MessageCase{"EmptyDischarge",
                                                       SectionSize::U80,
                                                       {"", "500", "0.017", "1.0"},
                                                       2,
                                                       "设计流量不能为0或负数，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"DischargeWithComma",
                                                       SectionSize::U60,
                                                       {"0,25", "500", "0.017", "1.0"},
                                                       2,
                                                       "设计流量不能为0或负数，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"DischargeBeforeSlope",
                                                       SectionSize::U60,
                                                       {"-1", "-5", "0.017", "9"},
                                                       2,
                                                       "设计流量不能为0或负数，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"NegativeSlope",
                                                       SectionSize::U100,
                                                       {"0.55", "-5", "0.017", "1.0"},
                                                       3,
                                                       "设计纵坡不能为负数或0，请重新输入",
                                                       InputBox::Text4},
                                           MessageCase{"SlopeBeforeFactor",
                                                       SectionSize::U60,
                                                       {"0.25", "0", "0.017", ""},
                                                       3,
                                                       "设计纵坡不能为负数或0，请重新输入",
                                                       InputBox::Text4},
                                           MessageCase{"FactorBelowOne",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "0.017", "0.99"},
                                                       4,
                                                       "加大系数已不在适用范围，请重新输入",
                                                       InputBox::Text7},
                                           MessageCase{"FactorAboveTwo",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "0.017", "2.01"},
                                                       4,
                                                       "加大系数已不在适用范围，请重新输入",
                                                       InputBox::Text7},
                                           MessageCase{"EmptyFactor",
                                                       SectionSize::U120,
                                                       {"0.9", "500", "0.017", ""},
                                                       4,
                                                       "加大系数已不在适用范围，请重新输入",
                                                       InputBox::Text7},
                                           MessageCase{"DesignOverflow",
                                                       SectionSize::U60,
                                                       {"0.268", "500", "0.017", "1.0"},
                                                       5,
                                                       "设计水深已大于渠深,请选用其他U形渠道构件。",
                                                       InputBox::Text2},
                                           MessageCase{"DesignOverflowBeforeCheck",
                                                       SectionSize::U60,
                                                       {"0.3", "500", "0.017", "1.0"},
                                                       5,
                                                       "设计水深已大于渠深,请选用其他U形渠道构件。",
                                                       InputBox::Text2},
                                           MessageCase{"CheckOverflow",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "0.017", "1.2"},
                                                       6,
                                                       "校核水深已大于渠深,请选用其他U形渠道构件。",
                                                       InputBox::Text2},
                                           MessageCase{"RoughnessBeyondRange",
                                                       SectionSize::U60,
                                                       {"", "500", "1e400", "1.0"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::text6},
                                           MessageCase{"DischargeBeyondRange",
                                                       SectionSize::U60,
                                                       {"1e400", "-1", "0.017", "1"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"SlopeBeyondRange",
                                                       SectionSize::U60,
                                                       {"0.25", "1e999", "0.017", "1"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::Text4},
                                           MessageCase{"FactorBeyondRangeIsOutOfRange",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "0.017", "1e400"},
                                                       4,
                                                       "加大系数已不在适用范围，请重新输入",
                                                       InputBox::Text7},
                                           MessageCase{"NegativeBeyondRangeIsNegative",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "-1e400", "1"},
                                                       1,
                                                       "糙率不能为0或负数，请重新输入。",
                                                       InputBox::text6},
                                           MessageCase{"ChezyOverflows",
                                                       SectionSize::U60,
                                                       {"0.25", "500", "1e-310", "1"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"SlopeRatioOverflows",
                                                       SectionSize::U60,
                                                       {"0.25", "1e-320", "0.017", "1"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::Text2},
                                           MessageCase{"InfinityTimesZero",
                                                       SectionSize::U60,
                                                       {"1", "1.7e308", "5e-324", "1"},
                                                       7,
                                                       "输入数值超出计算范围，请重新输入",
                                                       InputBox::Text2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RunCalculation, BoundsOfTheFactorAreAccepted) {
    for (const char* k : {"1", "2", "1,5"}) {
        EXPECT_TRUE(RunWith(SectionSize::U60, "0.1", "500", "0.017", k).isReport()) << k;
    }
}

TEST(RunCalculation, YesToAnInputMessageRestoresThatBoxOnly) {
    const CalculationOutcome r =
        RunCalculation(Row(SectionSize::U120), {"0.9", "500", "0.017", "3"});
    ASSERT_EQ(r.message().restoreCount, 1u);
    EXPECT_EQ(r.message().restores[0].box, InputBox::Text7);
    EXPECT_EQ(r.message().restores[0].text, "1.0");
    EXPECT_TRUE(r.message().reportBoxText.empty());

    const CalculationOutcome q = RunCalculation(Row(SectionSize::U140), {"", "500", "0.017", "1"});
    ASSERT_EQ(q.message().restoreCount, 1u);
    EXPECT_EQ(q.message().restores[0].text, "1.20");
}

class ResetAllTest : public ::testing::TestWithParam<CalculationInputs> {};

// After a depth message (or a result past the double range) everything starts over.
TEST_P(ResetAllTest, YesRestoresAllBoxesAndTheReportHeader) {
    const USection& u120 = Row(SectionSize::U120);
    const CalculationOutcome r = RunCalculation(u120, GetParam());
    ASSERT_FALSE(r.isReport());
    ASSERT_EQ(r.message().restoreCount, 4u);
    const std::pair<InputBox, std::string_view> expected[] = {{InputBox::Text2, "0.90"},
                                                              {InputBox::Text4, "500"},
                                                              {InputBox::text6, "0.017"},
                                                              {InputBox::Text7, "1.0"}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(r.message().restores[i].box, expected[i].first);
        EXPECT_EQ(r.message().restores[i].text, expected[i].second);
    }
    EXPECT_EQ(r.message().box, InputBox::Text2);
    EXPECT_EQ(r.message().reportBoxText, u120.reportHeader);
}

INSTANTIATE_TEST_SUITE_P(Messages, ResetAllTest,
                         ::testing::Values(CalculationInputs{"9", "500", "0.017", "1"},
                                           CalculationInputs{"0.9", "500", "0.017", "2"},
                                           CalculationInputs{"0.9", "500", "1e-310", "1"}));

TEST(RunCalculation, InputsAreReadWhateverTheOutcome) {
    const CalculationOutcome r = RunCalculation(Row(SectionSize::U60), {"2 50", "&H10", "x", "1e"});
    EXPECT_EQ(r.inputs.discharge, 250);
    EXPECT_EQ(r.inputs.slope, 16);
    EXPECT_EQ(r.inputs.roughness, 0);
    EXPECT_EQ(r.inputs.factor, 1);
    EXPECT_FALSE(r.searches.has_value());
}

TEST(RunCalculation, TheDesignDischargeIsNotPrinted) {
    const CalculationOutcome r = RunWith(SectionSize::U60, "0.2", "500", "0.017", "1.2");
    EXPECT_EQ(r.report().text.find(".2\r"), std::string::npos);
    EXPECT_EQ(r.searches->checkDischarge, 1.2 * 0.2);
}

// Absurd but finite inputs print in the exponent form, never "inf".
TEST(RunCalculation, HugeResultsUseTheExponentForm) {
    const CalculationOutcome r = RunWith(SectionSize::U60, "1", "500", "1e-20");
    ASSERT_TRUE(r.isReport());
    EXPECT_EQ(r.report().printed[3], "3.41111705268655E+16");
    EXPECT_EQ(r.report().printed[8], "2.95525803068339E+19");
}

}  // namespace
}  // namespace veltrane
