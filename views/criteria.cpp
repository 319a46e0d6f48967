// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/criteria.h"

#include <cmath>

#include "hydraulics/float_chars.h"

namespace veltrane::views {

namespace {

std::string_view Trimmed(std::string_view s) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

std::string Shortest(double value) {
    char buffer[32];
    return std::string(buffer, ToChars(buffer, buffer + sizeof buffer, value).ptr);
}

}  // namespace

const CriterionFieldInfo& InfoOf(CriterionField field) {
    return kCriterionFields[static_cast<std::size_t>(field)];
}

std::string FieldLabel(CriterionField field) {
    const CriterionFieldInfo& info = InfoOf(field);
    return std::string(info.label) + " (" + std::string(info.unit) + ")";
}

MeasureReading ReadMeasure(std::string_view text) {
    const std::string_view t = Trimmed(text);
    if (t.empty()) {
        return std::monostate{};
    }
    // from_chars takes neither a sign "+" nor blanks inside; "inf" and "nan"
    // are refused below as not finite.
    double value = 0;
    const char* last = t.data() + t.size();
    const auto parsed = FromChars(t.data(), last, value);
    if (parsed.ec != std::errc() || parsed.ptr != last || !(value >= 0) || !std::isfinite(value)) {
        return Refused{};
    }
    return value + 0.0;  // -0 reads as 0
}

CriteriaReading ReadCriteria(const CriteriaTexts& texts) {
    CriteriaReading r;
    for (const CriterionFieldInfo& info : kCriterionFields) {
        const std::string& text = texts[static_cast<std::size_t>(info.field)];
        const MeasureReading m = ReadMeasure(text);
        const double* read = std::get_if<double>(&m);
        if (std::holds_alternative<Refused>(m) ||
            (info.positive && read != nullptr && *read == 0)) {
            r.problems.push_back(
                {.kind = CriteriaProblem::Kind::Unreadable, .field = info.field, .text = text});
        } else if (read != nullptr) {
            r.criteria.*(info.value) = *read;
        }
    }
    const DesignCriteria& c = r.criteria;
    if (c.minVelocity && c.maxVelocity && *c.minVelocity > *c.maxVelocity) {
        r.problems.push_back({.kind = CriteriaProblem::Kind::VelocitiesCrossed,
                              .low = *c.minVelocity,
                              .high = *c.maxVelocity});
    }
    return r;
}

std::string ProblemText(const CriteriaProblem& p, Language language) {
    const CriterionFieldInfo& info = InfoOf(p.field);
    if (language == Language::English) {
        if (p.kind == CriteriaProblem::Kind::VelocitiesCrossed) {
            return "--min-velocity is above --max-velocity";
        }
        return "--" + std::string(info.key) + " takes a value in " + std::string(info.asciiUnit) +
               (info.positive ? ", more than 0" : ", 0 or more") + ", written as a plain decimal";
    }
    if (p.kind == CriteriaProblem::Kind::VelocitiesCrossed) {
        return "最小流速 " + Shortest(p.low) + " m/s 大于最大流速 " + Shortest(p.high) +
               " m/s：请改正其一。";
    }
    return std::string(info.label) + "“" + p.text + "”无效：须为" +
           (info.positive ? "大于 0 的数" : " 0 或更大的数") + "（单位 " + std::string(info.unit) +
           "，只填数字）；不设此" + (info.positive ? "流量" : "准则") + "请留空。";
}

std::string ProblemsText(const std::vector<CriteriaProblem>& problems, Language language) {
    std::string out;
    for (const CriteriaProblem& p : problems) {
        if (!out.empty()) {
            out += '\n';
        }
        out += ProblemText(p, language);
    }
    return out;
}

}  // namespace veltrane::views
