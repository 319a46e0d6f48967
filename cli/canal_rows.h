// SPDX-License-Identifier: GPL-3.0-or-later
// A canal file (sheet --batch, and the page's 全渠计算书) as the rows of a
// canal sheet: the batch columns, and the optional name, station and project
// of each reach.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "hydraulics/design_criteria.h"
#include "sheet/sheet_builder.h"
#include "views/batch_problems.h"

namespace veltrane::cli {

struct CanalReading {
    std::optional<views::FileProblem> problem;  // the file cannot be used; rows is empty
    std::vector<sheet::CanalRow> rows;          // one per row of the file, bad ones too
};

// text is the file decoded (see DecodeInputText). A row's empty name,
// station or project takes the one in defaults, as do the designer and the
// date; every reach is checked against criteria. A bad row keeps its reach
// details, so the summary names it.
// A size may name a row of sections, which every reach is also fitted among.
CanalReading ReadCanalRows(std::string_view text, const sheet::ReachDetails& defaults,
                           const DesignCriteria& criteria,
                           const SectionSet& sections = SectionSet());

}  // namespace veltrane::cli
