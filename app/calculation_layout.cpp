#include "calculation_layout.h"

namespace veltrane {

namespace {

constexpr const char* kRoughnessIdeographic = "糙　率　：";  // two U+3000 blanks
constexpr const char* kRoughnessAscii = "糙   率 ：";        // three blanks, then one

constexpr std::array<const char*, 8> kFocusCommandsFirst = {
    "Command1", "Command2", "Text1", "Text2", "Text4", "text6", "Text7", "Command3"};

constexpr std::array<CalculationLayout, kSectionCount> kLayouts = {{
    {SectionSize::U60, "Form2", 6360, 4605, false, 12,
     {120, 240, 2655, 2500}, 1320, 1200, 1215, {370, 886, 1402, 1920}, 7,
     {{{"Label1", "已知流量：", 450, {0, 0}},
       {"Label3", "设计纵坡：1/", 960, {0, 0}},
       {"Label5", kRoughnessIdeographic, 1485, {0, 0}},
       {"Label6", "加大系数：", 1995, {0, 0}}}},
     true, true, {3000, 360, 3135, 3400}, false, {120, 3100, 540, 540},
     {1000, 3230, 1600, 300}, false, false, {850, 3100, 2760, 3600},
     4100, {800, 2620, 4440}, {{{1000, 350}, {1000, 350}, {1000, 350}}}, true, "退出程序", 10.5,
     EscRole::Back, kFocusCommandsFirst, BackOrder::ShowMainThenHide, true},

    {SectionSize::U80, "Form3", 6330, 4575, true, 12,
     {120, 240, 2655, 2500}, 1300, 1200, 1200, {370, 880, 1390, 1900}, 7,
     {{{"Label1", "已知流量：", 450, {1100, 300}},
       {"Label3", "设计纵坡：1/", 966, {1100, 300}},
       {"Label5", kRoughnessAscii, 1482, {1100, 300}},
       {"Label6", "加大系数：", 2000, {1100, 300}}}},
     false, false, {3000, 360, 3135, 3400}, false, {120, 3000, 540, 540},
     {1000, 3150, 1600, 300}, true, false, {850, 3050, 2760, 3500},
     4050, {800, 2620, 4440}, {{{1000, 350}, {1000, 350}, {975, 350}}}, true, "退出程序", 10.5,
     EscRole::Back, kFocusCommandsFirst, BackOrder::ShowMainThenHide, false},

    {SectionSize::U100, "Form4", 6360, 4635, false, 12,
     {120, 240, 2665, 2500}, 1350, 1200, 1200, {360, 873, 1386, 1900}, 6,
     {{{"Label1", "已知流量：", 450, {1095, 300}},
       {"Label3", "设计纵坡：1/", 966, {1100, 300}},
       {"Label6", kRoughnessAscii, 1482, {1100, 300}},
       {"Label7", "加大系数：", 2000, {975, 255}}}},
     false, false, {2880, 360, 3135, 3400}, false, {120, 3100, 540, 540},
     {1000, 3225, 1680, 240}, false, true, {850, 3100, 2760, 3600},
     4100, {800, 2620, 4440}, {{{1000, 350}, {1000, 350}, {1000, 350}}}, false, "退出程序", 10.5,
     EscRole::Exit, kFocusCommandsFirst, BackOrder::ShowMainThenHide, false},

    {SectionSize::U120, "Form5", 6330, 4545, false, 12,
     {119, 168, 2652, 2514}, 1250, 1200, 1200, {380, 886, 1392, 1900}, 7,
     {{{"Label1", "设计流量：", 450, {1000, 300}},
       {"Label3", "设计纵坡：1/", 960, {0, 0}},
       {"Label5", kRoughnessAscii, 1482, {1000, 300}},
       {"Label6", "加大系数：", 2000, {1095, 255}}}},
     false, false, {2880, 240, 3135, 3422}, false, {120, 3003, 540, 540},
     {945, 3150, 1680, 240}, false, true, {840, 3003, 2760, 3492},
     3981, {697, 2538, 4379}, {{{995, 349}, {995, 349}, {975, 349}}}, true, "退出软件", 12,
     EscRole::Back, kFocusCommandsFirst, BackOrder::ShowMainThenHide, false},

    {SectionSize::U140, "Form7", 6300, 4680, true, 9,
     {120, 240, 2655, 2500}, 1200, 1200, 1215, {360, 870, 1395, 1905}, 7,
     {{{"Label1", "已知流量：", 450, {0, 0}},
       {"Label3", "设计纵坡：1/", 940, {0, 0}},
       {"Label5", kRoughnessIdeographic, 1430, {0, 0}},
       {"Label6", "加大系数：", 1920, {0, 0}}}},
     true, true, {3000, 360, 3135, 3400}, true, {120, 3120, 495, 495},
     {980, 3240, 1695, 240}, true, true, {840, 3120, 2760, 3570},
     4100, {800, 2620, 4440}, {{{1000, 350}, {1000, 350}, {1000, 350}}}, true, "退出程序", 10.5,
     EscRole::Exit,
     {"Text1", "Command1", "Command2", "Command3", "Text7", "text6", "Text4", "Text2"},
     BackOrder::HideThenShowMain, false},
}};

}  // namespace

const CalculationLayout& LayoutFor(SectionSize size) {
    return kLayouts[static_cast<std::size_t>(size)];
}

}  // namespace veltrane
