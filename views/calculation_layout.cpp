// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/calculation_layout.h"

namespace veltrane {

namespace {

constexpr const char* kRoughnessIdeographic = "糙　率　：";  // two U+3000 blanks
constexpr const char* kRoughnessAscii = "糙   率 ：";        // three blanks, then one

// Each row says only where its window differs from the shared default row,
// the member initialisers of CalculationLayout.
constexpr std::array<CalculationLayout, kSectionCount> kLayouts = {{
    {
        .size = SectionSize::U60,
        .formName = "Form2",
        .clientWidth = 6360,
        .clientHeight = 4605,
        .inputLeft = 1320,
        .text7Width = 1215,
        .inputTops = {370, 886, 1402, 1920},
        .labels = {{{"Label1", "已知流量：", 450, {0, 0}},
                    {"Label3", "设计纵坡：1/", 960, {0, 0}},
                    {"Label5", kRoughnessIdeographic, 1485, {0, 0}},
                    {"Label6", "加大系数：", 1995, {0, 0}}}},
        .labelsDarkBlue = true,
        .text7Tooltip = true,
        .picture = {120, 3100, 540, 540},
        .label2 = {1000, 3230, 1600, 300},
        .label2SizedToText = false,
        .rectangle = {850, 3100, 2760, 3600},
        .writesHeaderOnCreate = true,
    },
    {
        .size = SectionSize::U80,
        .formName = "Form3",
        .clientWidth = 6330,
        .clientHeight = 4575,
        .sizable = true,
        .inputLeft = 1300,
        .inputTops = {370, 880, 1390, 1900},
        .labels = {{{"Label1", "已知流量：", 450, {1100, 300}},
                    {"Label3", "设计纵坡：1/", 966, {1100, 300}},
                    {"Label5", kRoughnessAscii, 1482, {1100, 300}},
                    {"Label6", "加大系数：", 2000, {1100, 300}}}},
        .picture = {120, 3000, 540, 540},
        .label2 = {1000, 3150, 1600, 300},
        .label2Centred = true,
        .label2SizedToText = false,
        .rectangle = {850, 3050, 2760, 3500},
        .buttonTop = 4050,
        .buttonSizes = {{{1000, 350}, {1000, 350}, {975, 350}}},
    },
    {
        .size = SectionSize::U100,
        .formName = "Form4",
        .clientWidth = 6360,
        .clientHeight = 4635,
        .frame = {120, 240, 2665, 2500},
        .inputLeft = 1350,
        .inputTops = {360, 873, 1386, 1900},
        .text2MaxLength = 6,
        .labels = {{{"Label1", "已知流量：", 450, {1095, 300}},
                    {"Label3", "设计纵坡：1/", 966, {1100, 300}},
                    {"Label6", kRoughnessAscii, 1482, {1100, 300}},
                    {"Label7", "加大系数：", 2000, {975, 255}}}},
        .report = {2880, 360, 3135, 3400},
        .picture = {120, 3100, 540, 540},
        .label2 = {1000, 3225, 1680, 240},
        .rectangle = {850, 3100, 2760, 3600},
        .backIsCommand2 = false,
        .esc = EscRole::Exit,
    },
    {
        .size = SectionSize::U120,
        .formName = "Form5",
        .clientWidth = 6330,
        .clientHeight = 4545,
        .frame = {119, 168, 2652, 2514},
        .inputLeft = 1250,
        .inputTops = {380, 886, 1392, 1900},
        .labels = {{{"Label1", "设计流量：", 450, {1000, 300}},
                    {"Label3", "设计纵坡：1/", 960, {0, 0}},
                    {"Label5", kRoughnessAscii, 1482, {1000, 300}},
                    {"Label6", "加大系数：", 2000, {1095, 255}}}},
        .report = {2880, 240, 3135, 3422},
        .picture = {120, 3003, 540, 540},
        .label2 = {945, 3150, 1680, 240},
        .rectangle = {840, 3003, 2760, 3492},
        .buttonTop = 3981,
        .buttonLefts = {697, 2538, 4379},
        .buttonSizes = {{{995, 349}, {995, 349}, {975, 349}}},
        .exitTooltip = "退出软件",
        .exitFontPt = 12,
    },
    {
        .size = SectionSize::U140,
        .formName = "Form7",
        .clientWidth = 6300,
        .clientHeight = 4680,
        .sizable = true,
        .windowFontPt = 9,
        .inputLeft = 1200,
        .text7Width = 1215,
        .inputTops = {360, 870, 1395, 1905},
        .labels = {{{"Label1", "已知流量：", 450, {0, 0}},
                    {"Label3", "设计纵坡：1/", 940, {0, 0}},
                    {"Label5", kRoughnessIdeographic, 1430, {0, 0}},
                    {"Label6", "加大系数：", 1920, {0, 0}}}},
        .labelsDarkBlue = true,
        .text7Tooltip = true,
        .reportEditable = true,
        .picture = {120, 3120, 495, 495},
        .label2 = {980, 3240, 1695, 240},
        .label2Centred = true,
        .rectangle = {840, 3120, 2760, 3570},
        .esc = EscRole::Exit,
        .focusOrder = {"Text1", "Command1", "Command2", "Command3", "Text7", "text6", "Text4",
                       "Text2"},
        .backOrder = BackOrder::HideThenShowMain,
    },
}};

}  // namespace

const CalculationLayout& LayoutFor(SectionSize size) {
    return kLayouts[static_cast<std::size_t>(size)];
}

}  // namespace veltrane
