// SPDX-License-Identifier: GPL-3.0-or-later
// Design criteria as the engineer types them, read by one rule in the
// program's 计算书 dialog, on the page and on veltrane-calc's command line:
// blanks around the text are ignored; an empty text gives no criterion; else
// the text must be a plain decimal (an exponent allowed), 0 or more, finite.
// A text that cannot be read is refused, never dropped.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "hydraulics/design_criteria.h"
#include "views/language.h"

namespace veltrane::views {

enum class CriterionField { MinFreeboard, MinVelocity, MaxVelocity, MinDischarge };

struct CriterionFieldInfo {
    CriterionField field;
    std::string_view key;    // the page's key and the command line's option without "--"
    std::string_view label;  // "最小安全超高"
    std::string_view unit;   // "m", "m/s"
    std::optional<double> DesignCriteria::*value;
    std::string_view asciiUnit = unit;  // the command line's English: "m3/s"
    bool positive = false;              // 0 is refused too (a flow, not a limit)
    bool cited = true;                  // it may carry its source (a standard's clause)
};

inline constexpr std::array<CriterionFieldInfo, 4> kCriterionFields = {{
    {.field = CriterionField::MinFreeboard,
     .key = "min-freeboard",
     .label = "最小安全超高",
     .unit = "m",
     .value = &DesignCriteria::minFreeboard},
    {.field = CriterionField::MinVelocity,
     .key = "min-velocity",
     .label = "最小流速",
     .unit = "m/s",
     .value = &DesignCriteria::minVelocity},
    {.field = CriterionField::MaxVelocity,
     .key = "max-velocity",
     .label = "最大流速",
     .unit = "m/s",
     .value = &DesignCriteria::maxVelocity},
    {.field = CriterionField::MinDischarge,
     .key = "min-discharge",
     .label = "最小流量",
     .unit = "m³/s",
     .value = &DesignCriteria::minDischarge,
     .asciiUnit = "m3/s",
     .positive = true,
     .cited = false},
}};

const CriterionFieldInfo& InfoOf(CriterionField field);

// "最大流速 (m/s)": the label a form shows beside the field.
std::string FieldLabel(CriterionField field);

// A number field's text: no value (empty or blanks), a value, or refused.
struct Refused {};
using MeasureReading = std::variant<std::monostate, double, Refused>;
MeasureReading ReadMeasure(std::string_view text);

// The texts, as typed, in the order of kCriterionFields.
using CriteriaTexts = std::array<std::string, kCriterionFields.size()>;

// What is wrong with criteria texts: a field that cannot be read, or a
// lowest velocity above the highest.
struct CriteriaProblem {
    enum class Kind { Unreadable, VelocitiesCrossed };
    Kind kind = Kind::Unreadable;
    CriterionField field = CriterionField::MinFreeboard;  // Unreadable
    std::string text{};                                   // Unreadable: as typed
    double low = 0, high = 0;                             // VelocitiesCrossed, m/s
};

struct CriteriaReading {
    DesignCriteria criteria;                // complete only when problems is empty
    std::vector<CriteriaProblem> problems;  // in field order; crossed velocities last

    bool ok() const { return problems.empty(); }
};

CriteriaReading ReadCriteria(const CriteriaTexts& texts);

// Chinese: 最大流速“3 m/s”无效：须为 0 或更大的数（单位 m/s，只填数字）；不设此准则请留空。
// English: the command line's words for its option.
std::string ProblemText(const CriteriaProblem& problem, Language language);

// Every problem, one per line, without a final line break.
std::string ProblemsText(const std::vector<CriteriaProblem>& problems, Language language);

// Under a table or an answer found with the 计算书's criteria.
inline constexpr std::string_view kFitUnderCriteria = "已按计算书中的设计准则选型。";
inline constexpr std::string_view kAidsUnderCriteria = "已按计算书中的设计准则计算。";

// What a sheet or a preview says instead of itself while a field is refused.
inline constexpr std::string_view kNothingWhileRefused =
    "设计准则有误，改正后才能预览、保存或打印计算书。";

}  // namespace veltrane::views
