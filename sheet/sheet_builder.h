// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation sheet (计算书) of one channel reach, and of a whole canal:
// the known data, the method, the working, the results with the report as
// the window shows it, the checks, the conclusion, the drawing and the
// signature lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "hydraulics/design_criteria.h"
#include "hydraulics/user_sections.h"
#include "sheet/document.h"
#include "views/batch_problems.h"

namespace veltrane::sheet {

// What the engineer says about the reach; each text appears as typed, and an
// empty one is left out.
struct ReachDetails {
    std::string project{};   // 工程名称
    std::string channel{};   // 渠道名称
    std::string station{};   // 桩号, from–to
    std::string designer{};  // 计算 (who computed it)
    std::string date{};      // the date of the computation; the command line puts today's here
    std::string unit{};      // 设计单位
    std::string stage{};     // 设计阶段
    std::string number{};    // 计算书编号
    std::string checker{};   // 校核
    std::string checkDate{};
    std::string approver{};  // 审核
    std::string approveDate{};
};

// Where each design criterion comes from, as the engineer cites it ("GB …
// 第 x 条"); printed beside the criterion. Veltrane cites nothing itself.
struct CriteriaSources {
    std::string minFreeboard{};
    std::string minVelocity{};
    std::string maxVelocity{};
};

struct SheetRequest {
    // The section: a standard row, or a user's row that outlives the sheet.
    SectionRef section = StandardRef(SectionSize::U60);
    // The four input texts, as typed: Q m³/s, x of 1/x, n, k.
    std::string discharge;
    std::string slope;
    std::string roughness;
    std::string factor;
    ReachDetails reach{};
    DesignCriteria criteria{};
    CriteriaSources sources{};
    // 计算依据: the standards, clauses and documents the engineer bases the
    // sheet on, one per line, printed as a numbered list.
    std::vector<std::string> basis{};
    // The sections a reach that does not serve is fitted among: the
    // standard five and the user's rows, smallest first.
    SectionSet fitAmong{};
};

// One row of a canal: a reach, or a row that could not be read. A bad row
// still names its reach: request.reach holds the row's channel and station.
struct CanalRow {
    std::size_t line = 0;         // in the CSV file
    views::RowProblem problem{};  // Kind::None for a reach
    SheetRequest request{};
};

// The sheet of one reach.
Document BuildSheet(const SheetRequest& request);

// The title block of every sheet: each field in its place, an empty one
// left blank to be filled in by hand.
Table TitleBlock(const ReachDetails& r);

// 计算, 校核 and 审核, with the names and dates given.
Signatures SignatureTable(const ReachDetails& r);

// A whole canal: a summary table with one row per reach (a bad row gives its
// name and chainage and says what is wrong, in Chinese), then each reach's
// sheet on a page of its own.
Document BuildCanal(const std::vector<CanalRow>& rows);

// The same document made into sink block by block. The summary comes first
// and needs every reach evaluated, so each reach's numbers are held (about
// a kilobyte a reach); each reach's sheet, with its drawing, is made only when
// its turn comes and handed on, never held beside the others. Returns false
// when sink stopped it.
bool BuildCanal(const std::vector<CanalRow>& rows, DocumentSink& sink);

}  // namespace veltrane::sheet
