// SPDX-License-Identifier: GPL-3.0-or-later
// The water surface's calculation sheet (渠道水面线计算书): the known data of
// every reach and the downstream end, the method, each reach's uniform and
// critical depths, the station tables for Q and kQ, the longitudinal
// profile, the checks and the conclusion, and the signature lines.
#pragma once

#include <string>
#include <vector>

#include "canal/canal_model.h"
#include "sheet/document.h"
#include "sheet/sheet_builder.h"

namespace veltrane::sheet {

struct ProfileSheetRequest {
    canal::CanalRequest canal;
    ReachDetails details{};            // the title block and the signatures
    std::vector<std::string> basis{};  // 计算依据, one per line
};

Document BuildProfileSheet(const ProfileSheetRequest& request, const canal::CanalProfile& profile);

// The chapter 水面线推求 of a canal's sheet (sheet --batch of a file with the
// profile columns): from a page of its own, its title, then the parts from
// the known data to the conclusion; note, if not empty, says how the canal's
// one k was chosen.
std::vector<Block> ProfileChapter(const canal::CanalRequest& request,
                                  const canal::CanalProfile& profile, const std::string& note);

}  // namespace veltrane::sheet
