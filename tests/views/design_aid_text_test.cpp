// SPDX-License-Identifier: GPL-3.0-or-later
// Why a design aid found nothing: the command line's English as scripts have
// read it, and the program's and the page's Chinese.
#include <gtest/gtest.h>

#include "tests/views/chinese.h"
#include "views/design_aid_text.h"

namespace veltrane::views {
namespace {

using Where = ServeFailure::Where;
using Why = ServeFailure::Why;

struct FailureCase {
    ServeFailure failure;
    const char* english;
    const char* chinese;
};

const FailureCase kCases[] = {
    {{.where = Where::SteepestSlope, .why = Why::DesignDepthAboveH, .channelDepth = 0.54},
     "even at 1/10 the design depth exceeds H = 0.54 m",
     "纵坡陡至 1/10 时设计水深大于渠深 H = 0.54 m"},
    {{.where = Where::SmallestDischarge, .why = Why::CheckDepthAboveH, .channelDepth = 1.05},
     "even 0.0001 m3/s does not serve: the check depth exceeds H = 1.05 m",
     "流量小至 0.0001 m³/s 仍不满足：校核水深大于渠深 H = 1.05 m"},
    {{.where = Where::LargestFitting,
      .why = Why::VelocityBelow,
      .value = 0.142,
      .limit = 0.5,
      .decimals = 3,
      .discharge = "0.0123"},
     "at the largest discharge that fits, 0.0123 m3/s, the velocity at Q, 0.142 m/s, is below "
     "0.5 m/s",
     "不超出渠深的最大流量 0.0123 m³/s 下，设计流量 Q 下流速 0.142 m/s 小于 0.5 m/s"},
    {{.where = Where::SmallestDischarge,
      .why = Why::FreeboardBelow,
      .value = 0.024,
      .limit = 0.05,
      .decimals = 3},
     "even 0.0001 m3/s does not serve: the freeboard, 0.024 m, is below 0.05 m",
     "流量小至 0.0001 m³/s 仍不满足：安全超高 0.024 m 小于 0.05 m"},
    {{.where = Where::EveryCarryingSlope,
      .why = Why::VelocityAbove,
      .value = 1.5,
      .limit = 0.5,
      .decimals = 3,
      .flow = CriterionFlow::Check,
      .slope = 573},
     "at every slope from 1/10 to 1/573 where the section carries both discharges, the "
     "velocity at kQ, 1.5 m/s, is above 0.5 m/s",
     "在 1/10 至 1/573 之间能通过两种流量的纵坡上，校核流量 kQ 下流速 1.5 m/s 大于 0.5 m/s"},
    {{.where = Where::NoWholeSlope},
     "no whole slope between 1/10 and 1/100000 serves",
     "1/10 至 1/100000 之间没有满足要求的整数纵坡"},
};

TEST(ServeFailureText, BothVoices) {
    for (const FailureCase& c : kCases) {
        EXPECT_EQ(ServeFailureText(c.failure, Language::English), c.english);
        EXPECT_EQ(ServeFailureText(c.failure, Language::Chinese), c.chinese);
        EXPECT_EQ(testing::ForeignWord(ServeFailureText(c.failure, Language::Chinese)), "");
    }
}

TEST(CapacityText, NoneServesSaysWhyInChinese) {
    CapacityResult r;
    r.reason = kCases[0].failure;
    EXPECT_EQ(
        CapacityText("500", r),
        "纵坡 1/500 下没有满足要求的设计流量（纵坡陡至 1/10 时设计水深大于渠深 H = 0.54 m）。");
    SlopeRange s;
    s.reason = kCases[5].failure;
    EXPECT_EQ(
        SlopeRangeText(s),
        "1/10 至 1/100000 之间没有适用的纵坡（1/10 至 1/100000 之间没有满足要求的整数纵坡）。");
}

}  // namespace
}  // namespace veltrane::views
