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

struct CalculationLayout {
    SectionSize size;
    const char* formName;
    int clientWidth, clientHeight;
    bool sizable;  // U80 and U140 may be resized; the controls stay put
    double windowFontPt;
    TwipBox frame;
    int inputLeft, inputWidth, text7Width;
    std::array<int, 4> inputTops;  // Text2, Text4, text6, Text7
    int text2MaxLength;            // 7, or 6 in U100
    std::array<FrameLabel, 4> labels;
    bool labelsDarkBlue;  // RGB(0,0,192) in U60 and U140, else RGB(0,0,255)
    bool text7Tooltip;
    TwipBox report;
    bool reportEditable;  // U140 only
    TwipBox picture;
    TwipBox label2;
    bool label2Centred;
    bool label2SizedToText;
    std::array<int, 4> rectangle;  // the magenta frame: left, top, right, bottom
    int buttonTop;
    std::array<int, 3> buttonLefts;  // calculate, back, exit
    std::array<TwipSize, 3> buttonSizes;
    bool backIsCommand2;  // else Command3 is back and Command2 exit (U100)
    const char* exitTooltip;
    double exitFontPt;
    EscRole esc;
    std::array<const char*, 8> focusOrder;
    BackOrder backOrder;
    bool writesHeaderOnCreate;  // only the U60 window fills its report box when created
};

const CalculationLayout& LayoutFor(SectionSize size);

}  // namespace veltrane
