// SPDX-License-Identifier: GPL-3.0-or-later
// The five calculation windows share one class; everything that tells them
// apart is a row of this table. Positions and sizes are in twips.
#pragma once

#include <array>

#include "hydraulics/section_catalogue.h"

namespace veltrane {

struct TwipBox {
    int left, top, width, height;
};

struct TwipSize {
    int width, height;  // 0 × 0: sized to the text
};

enum class EscRole { Back, Exit };
enum class BackOrder { ShowMainThenHide, HideThenShowMain };

// The four labels of Frame1, in the order of the boxes Text2, Text4, text6, Text7.
struct FrameLabel {
    const char* name;
    const char* caption;
    int top;
    TwipSize size;
};

inline constexpr std::array<const char*, 8> kFocusCommandsFirst = {
    "Command1", "Command2", "Text1", "Text2", "Text4", "text6", "Text7", "Command3"};

// One window's layout. The member initialisers are the row the five windows
// share; each window's row states only what differs from it.
struct CalculationLayout {
    SectionSize size = SectionSize::U60;
    const char* formName = nullptr;
    int clientWidth = 0, clientHeight = 0;
    bool sizable = false;  // U80 and U140 may be resized; the controls stay put
    double windowFontPt = 12;
    TwipBox frame{120, 240, 2655, 2500};
    int inputLeft = 0, inputWidth = 1200, text7Width = 1200;
    std::array<int, 4> inputTops{};  // Text2, Text4, text6, Text7
    int text2MaxLength = 7;          // 7, or 6 in U100
    std::array<FrameLabel, 4> labels{};
    bool labelsDarkBlue = false;  // RGB(0,0,192) in U60 and U140, else RGB(0,0,255)
    bool text7Tooltip = false;    // kFactorTooltip on Text7
    TwipBox report{3000, 360, 3135, 3400};
    bool reportEditable = false;  // U140 only
    TwipBox picture{};
    TwipBox label2{};
    bool label2Centred = false;
    bool label2SizedToText = true;
    std::array<int, 4> rectangle{};  // the magenta frame: left, top, right, bottom
    int buttonTop = 4100;
    std::array<int, 3> buttonLefts{800, 2620, 4440};  // calculate, back, exit
    std::array<TwipSize, 3> buttonSizes{{{1000, 350}, {1000, 350}, {1000, 350}}};
    bool backIsCommand2 = true;  // else Command3 is back and Command2 exit (U100)
    const char* exitTooltip = "退出程序";
    double exitFontPt = 10.5;
    EscRole esc = EscRole::Back;
    std::array<const char*, 8> focusOrder = kFocusCommandsFirst;
    BackOrder backOrder = BackOrder::ShowMainThenHide;
    bool writesHeaderOnCreate = false;  // only the U60 window fills its report box when created
};

const CalculationLayout& LayoutFor(SectionSize size);

// The increase factor's tool tip where a window has one.
inline constexpr const char* kFactorTooltip = "计算范围1~2";

}  // namespace veltrane
