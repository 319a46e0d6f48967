// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as the four box texts of any size.
// Whatever the texts, a run ends in a report or one of the seven messages,
// never prints a non-finite number, and never reports a depth above the
// channel depth.
#include <cctype>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hydraulics/calculation_run.h"
#include "hydraulics/number_rules.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool ContainsIgnoringCase(std::string_view haystack, std::string_view needle) {
    for (std::size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        bool same = true;
        for (std::size_t j = 0; j < needle.size() && same; ++j) {
            same = std::tolower(static_cast<unsigned char>(haystack[i + j])) == needle[j];
        }
        if (same) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veltrane;
    if (size == 0) {
        return 0;
    }
    const auto& section = LookupSection(static_cast<SectionSize>(data[0] % kSectionCount));
    // The rest splits at NUL bytes into the discharge, slope, roughness and factor texts.
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string_view texts[kInputBoxCount];
    for (auto& text : texts) {
        const std::size_t end = rest.find('\0');
        text = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    for (const auto& text : texts) {
        Require(!std::isnan(ParseNumber(text)));
    }
    const CalculationOutcome outcome =
        RunCalculation(section, {texts[0], texts[1], texts[2], texts[3]});
    Require(outcome.header == section.headerText);
    if (outcome.isReport()) {
        const CalculationReport& report = outcome.report();
        Require(outcome.searches.has_value());
        Require(!ContainsIgnoringCase(report.text, "inf"));
        Require(!ContainsIgnoringCase(report.text, "nan"));
        Require(report.text.rfind(section.reportHeader, 0) == 0);
        Require(outcome.searches->design.reportedDepth <= section.channelDepth);
        Require(outcome.searches->check.reportedDepth <= section.channelDepth);
        for (const auto& printed : report.printed) {
            Require(!printed.empty() && printed[0] != ' ' && printed[0] != '-');
        }
    } else {
        const CalculationMessage& message = outcome.message();
        const int number = static_cast<int>(message.number);
        Require(number >= 1 && number <= 7);
        Require(!message.text.empty());
        Require(message.restoreCount == 1 || message.restoreCount == 4);
    }
    return 0;
}
