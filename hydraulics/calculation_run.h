// SPDX-License-Identifier: GPL-3.0-or-later
// One press of the calculate button: the four box texts in, the report text
// or one message out. The window only carries out the outcome.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "hydraulics/section_catalogue.h"
#include "hydraulics/section_hydraulics.h"

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
    double discharge = 0;  // Q, m³/s
    double slope = 0;      // x of 1/x
    double roughness = 0;  // n
    double factor = 0;     // k

    ChannelBed bed() const { return {.roughness = roughness, .slope = slope}; }
};

struct BoxText {
    InputBox box;
    std::string_view text;
};

// The seven messages. 1 to 6 are the window's own; 7 keeps a value that the
// double range cannot hold, or a result that it cannot, out of the report.
enum class MessageNumber {
    Roughness = 1,
    Discharge = 2,
    Slope = 3,
    Factor = 4,
    DesignOverflow = 5,
    CheckOverflow = 6,
    OutOfRange = 7,
};

// What a message says, and what answering Yes puts right.
struct CalculationMessage {
    MessageNumber number = MessageNumber::Roughness;
    std::string_view text;           // the prompt, exactly as shown
    InputBox box = InputBox::Text2;  // the box concerned: it takes the focus after Yes
    // Texts written back after Yes, in this order.
    std::array<BoxText, kInputBoxCount> restores{};
    std::size_t restoreCount = 0;
    // After Yes the report box gets this text; empty when it keeps the run's header.
    std::string_view reportBoxText;
};

// Message 7 for a section: every box and the report box start over.
CalculationMessage OutOfRangeMessage(const USection& section);

// The nine report values in report order, with their decimals.
struct ReportLine {
    std::string_view label;
    double value;
    int decimals;
};

inline constexpr int kReportLineCount = 9;

// The two depth searches of a run whose inputs passed their checks.
struct SearchOutcome {
    double checkDischarge = 0;  // k · Q, m³/s
    DepthSearchResult design;
    DepthSearchResult check;  // not searched after a design overflow
};

struct CalculationReport {
    std::string text;  // the whole report box text, lines joined by CR LF
    // The report's numbers in ReportLines order, as printed but without the
    // blank that stands before a value ≥ 0: ".516", "45.034".
    std::array<std::string, kReportLineCount> printed;
};

struct CalculationOutcome {
    std::string_view header;  // written into the report box before anything else
    ParsedInputs inputs;
    // Set once the searches have run: for reports and for messages 5 to 7
    // (message 7 also comes before them, for a value past the double range).
    std::optional<SearchOutcome> searches;
    std::variant<CalculationReport, CalculationMessage> result;

    bool isReport() const { return std::holds_alternative<CalculationReport>(result); }
    // A message about the texts themselves (1 to 4, and 7), not about a
    // depth above the channel (5, 6): there is nothing to draw or tabulate.
    bool rejectsInputs() const {
        return !isReport() && message().number != MessageNumber::DesignOverflow &&
               message().number != MessageNumber::CheckOverflow;
    }
    const CalculationReport& report() const { return std::get<CalculationReport>(result); }
    const CalculationMessage& message() const { return std::get<CalculationMessage>(result); }
};

// The report's value lines for a finished search pair.
std::array<ReportLine, kReportLineCount> ReportLines(const USection& section,
                                                     const SearchOutcome& searches);

// The texts as the number rules read them.
ParsedInputs ParseInputs(const CalculationInputs& inputs);

// The first failing check among boxes, in the run's order (roughness,
// discharge, slope, factor), or nothing when they all pass.
std::optional<CalculationMessage> CheckInputs(const USection& section, const ParsedInputs& inputs,
                                              std::span<const InputBox> boxes);

// What a finished search pair gives: nothing for a report, else message 5,
// 6 or 7. After a design overflow the check search need not have run.
std::optional<MessageNumber> SearchVerdict(const USection& section, const SearchOutcome& searches);

// The run without its report text: the checks, the searches and the verdict.
// A report outcome comes back with an empty CalculationReport.
CalculationOutcome EvaluateCalculation(const USection& section, const CalculationInputs& inputs);

// The report of a finished search pair that fits the section.
CalculationReport WriteReport(const USection& section, const SearchOutcome& searches);

// One press of the calculate button.
CalculationOutcome RunCalculation(const USection& section, const CalculationInputs& inputs);

}  // namespace veltrane
