// One press of the calculate button: the four box texts in, the report text
// or one message out. The window only carries out the outcome.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "section_catalogue.h"
#include "section_hydraulics.h"

namespace veltrane {

// The four input boxes, in the order in which their defaults are restored.
enum class InputBox { Text2, Text4, text6, Text7 };

inline constexpr int kInputBoxCount = 4;

// The box's control name: "Text2", "Text4", "text6", "Text7".
std::string_view InputBoxName(InputBox box);

// Default text of a box for a section ("0.25", "500", "0.017", "1.0" for U60).
std::string_view DefaultText(const USection& section, InputBox box);

struct CalculationInputs {
    std::string_view discharge;  // Text2, Q, m³/s
    std::string_view slope;      // Text4, x of the slope 1/x
    std::string_view roughness;  // text6, n
    std::string_view factor;     // Text7, k, 1 … 2
};

// The four values as the number rules read them.
struct ParsedInputs {
    double discharge = 0;
    double slope = 0;
    double roughness = 0;
    double factor = 0;
};

struct BoxText {
    InputBox box;
    std::string_view text;
};

// What a message says, and what answering Yes puts right.
struct CalculationMessage {
    int number = 0;                  // 1 … 7
    std::string_view text;           // the prompt, exactly as shown
    InputBox box = InputBox::Text2;  // the box concerned: it takes the focus after Yes
    // Texts written back after Yes, in this order.
    std::array<BoxText, kInputBoxCount> restores{};
    std::size_t restoreCount = 0;
    // After Yes the report box gets this text; empty when it keeps the run's header.
    std::string_view reportBoxText;
};

// The nine report values in report order, with their decimals.
struct ReportLine {
    std::string_view label;
    double value;
    int decimals;
};

inline constexpr int kReportLineCount = 9;

struct CalculationOutcome {
    std::string_view header;  // written into the report box before anything else
    ParsedInputs inputs;
    bool isReport = false;
    std::string report;  // the whole report box text, lines joined by CR LF
    // The report's number texts in ReportLines order, each with its leading blank.
    std::array<std::string, kReportLineCount> printed;
    CalculationMessage message;  // valid when !isReport
    // Filled once the searches have run (reports, and messages 5 to 7); after
    // a design overflow the check search is not needed and does not run.
    bool searched = false;
    double checkDischarge = 0;  // k · Q, m³/s
    DepthSearchResult design;
    DepthSearchResult check;
};

// The report's value lines for a finished search pair.
std::array<ReportLine, kReportLineCount> ReportLines(const USection& section,
                                                     const CalculationOutcome& outcome);

// The texts as the number rules read them.
ParsedInputs ParseInputs(const CalculationInputs& inputs);

// The first failing check among boxes, in the run's order (roughness,
// discharge, slope, factor), or nothing when they all pass.
std::optional<CalculationMessage> CheckInputs(const USection& section, const ParsedInputs& inputs,
                                              std::span<const InputBox> boxes);

// The run without its report text: the checks, the searches and the verdict.
// isReport says that a report follows; report and printed stay empty.
CalculationOutcome EvaluateCalculation(const USection& section, const CalculationInputs& inputs);

// Fills report and printed of an outcome for which isReport holds.
void WriteReport(const USection& section, CalculationOutcome& outcome);

// One press of the calculate button.
CalculationOutcome RunCalculation(const USection& section, const CalculationInputs& inputs);

}  // namespace veltrane
