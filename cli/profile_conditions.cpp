// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/profile_conditions.h"

#include <cmath>
#include <string>

#include "cli/profile_rows.h"
#include "views/criteria.h"

namespace veltrane::cli {
namespace {

using Kind = views::ConditionProblem::Kind;

// Stations a run may make at most: 1,000 km at 1 m.
constexpr double kMostStations = 1e6;

// A plain decimal, signed, blanks around it ignored.
std::optional<double> Decimal(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    return PlainNumber(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

views::ConditionProblem Problem(Kind kind, std::string_view text) {
    return {.kind = kind, .text = std::string(text)};
}

}  // namespace

std::vector<views::ConditionProblem> ReadConditionTexts(const ConditionTexts& texts,
                                                        canal::CanalRequest& request) {
    std::vector<views::ConditionProblem> problems;
    if (texts.factor) {
        const auto k = Decimal(*texts.factor);
        if (!k || *k < 1 || *k > 2) {
            problems.push_back(Problem(Kind::Factor, *texts.factor));
        } else {
            request.factor = *k;
        }
    }
    if (texts.end) {
        const std::string_view end = *texts.end;
        if (end == "normal") {
            request.end = {.kind = canal::EndCondition::Normal};
        } else if (end == "critical") {
            request.end = {.kind = canal::EndCondition::Critical};
        } else if (const auto level = Decimal(end);
                   level && std::fabs(*level) <= canal::kHighestLevel) {
            request.end = {.kind = canal::EndCondition::Level, .level = *level};
        } else {
            problems.push_back(Problem(Kind::End, end));
        }
    }
    if (texts.spacing) {
        const auto m = Decimal(*texts.spacing);
        if (!m || !(*m > 0) || *m > canal::kLongestReach) {
            problems.push_back(Problem(Kind::Spacing, *texts.spacing));
        } else {
            request.spacing = *m;
        }
    }
    if (texts.minFreeboard) {
        const views::MeasureReading least = views::ReadMeasure(*texts.minFreeboard);
        if (std::holds_alternative<views::Refused>(least)) {
            problems.push_back(Problem(Kind::MinFreeboard, *texts.minFreeboard));
        } else if (const double* m = std::get_if<double>(&least)) {
            request.minFreeboard = *m;
        } else {
            request.minFreeboard.reset();
        }
    }
    return problems;
}

std::optional<views::ConditionProblem> TooManyStations(
    const canal::CanalRequest& request, std::optional<std::string_view> spacingText) {
    double length = 0;
    for (const canal::Reach& r : request.reaches) {
        length += r.length;
    }
    if (!(length / request.spacing > kMostStations)) {
        return std::nullopt;
    }
    return views::ConditionProblem{.kind = Kind::TooManyStations,
                                   .text = std::string(spacingText.value_or("100")),
                                   .length = length};
}

}  // namespace veltrane::cli
