// SPDX-License-Identifier: GPL-3.0-or-later
// A profile run's conditions as typed: the increase factor, the downstream
// end, the station spacing and the smallest freeboard. The one reader for the
// command line's options, the program's dialog and the page's panel.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "canal/canal_model.h"
#include "views/profile_words.h"

namespace veltrane::cli {

// Each text absent where not given: the run then keeps its default (k = 1,
// uniform flow at the end, 100 m, no freeboard criterion). A text given
// empty is read as typed, and refused where a value is required.
struct ConditionTexts {
    std::optional<std::string_view> factor{};        // k, 1 … 2
    std::optional<std::string_view> end{};           // "normal", "critical" or a water level, m
    std::optional<std::string_view> spacing{};       // m, above 0, at most canal::kLongestReach
    std::optional<std::string_view> minFreeboard{};  // m, 0 or more; blank for none
};

// Sets what can be read into request and gives a problem for each text that
// cannot, in the order above.
std::vector<views::ConditionProblem> ReadConditionTexts(const ConditionTexts& texts,
                                                        canal::CanalRequest& request);

// The problem where the reaches at the request's spacing make more stations
// than a run may (a million, 1,000 km at 1 m); spacingText as given, if it was.
std::optional<views::ConditionProblem> TooManyStations(const canal::CanalRequest& request,
                                                       std::optional<std::string_view> spacingText);

}  // namespace veltrane::cli
