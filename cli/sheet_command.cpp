// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/sheet_command.h"

#include <algorithm>
#include <string>

#include "canal/water_surface.h"
#include "cli/canal_rows.h"
#include "cli/input_text.h"
#include "cli/profile_command.h"
#include "cli/profile_rows.h"
#include "cli/sheet_output.h"
#include "cli/size_operand.h"
#include "hydraulics/calculation_run.h"
#include "hydraulics/number_rules.h"
#include "sheet/profile_sheet.h"
#include "sheet/sheet_builder.h"
#include "views/dates.h"
#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::cli {

namespace {

sheet::CriteriaSources SourcesFrom(const CommandLine& c) {
    return {.minFreeboard = c.minFreeboardSource.value_or(""),
            .minVelocity = c.minVelocitySource.value_or(""),
            .maxVelocity = c.maxVelocitySource.value_or("")};
}

// The canal's one k for the water surface: the largest of the rows' factors
// from 1 to 2 (1 where none is), and a note where the rows differ.
Outcome<std::vector<sheet::Block>> ProfileChapterOf(const CommandLine& c, std::string_view text,
                                                    const std::vector<sheet::CanalRow>& rows) {
    ProfileReading reading = ReadProfileRows(text, c.sections);
    if (!reading.ok()) {
        std::string said;
        for (const views::ProfileProblem& p : reading.problems) {
            said += (said.empty() ? "" : "\nveltrane-calc: ") +
                    views::ProfileProblemText(p, views::Language::English);
        }
        return InputError(said);
    }
    canal::CanalRequest request;
    if (const Step read = ReadConditions(c, request); !read) {
        return read.error();
    }
    request.reaches = std::move(reading.reaches);
    if (const Step fits = CheckStations(c, request); !fits) {
        return fits.error();
    }
    double k = 0;
    bool differ = false;
    for (const sheet::CanalRow& row : rows) {
        const double f = ParseNumber(row.request.factor);
        if (f >= 1 && f <= 2) {
            differ = differ || (k != 0 && f != k);
            k = std::max(k, f);
        }
    }
    request.factor = k == 0 ? 1 : k;
    const std::string note =
        differ ? "各渠段加大系数不同，水面线按其中最大者 k = " + views::Decimal(k, 2) + " 计算。"
               : std::string();
    return sheet::ProfileChapter(request, canal::ComputeProfile(request), note);
}

CommandResult RunCanal(const CommandLine& c, std::istream& in, std::ostream& err) {
    const Outcome<std::string> text = ReadBatchInput(*c.batch, in, err);
    if (!text) {
        return text.error();
    }
    CanalReading canal = ReadCanalRows(*text, DetailsFrom(c), c.criteria, c.sections);
    for (sheet::CanalRow& row : canal.rows) {
        row.request.sources = SourcesFrom(c);
        row.request.basis = c.basis;
    }
    if (canal.problem) {
        return InputError(views::FileProblemText(*canal.problem, views::Language::English));
    }
    // With the profile's columns, the water surface of the whole canal as a
    // chapter of its own after the reaches.
    std::vector<sheet::Block> chapter;
    if (NamesProfileColumns(*text)) {
        const Outcome<std::vector<sheet::Block>> made = ProfileChapterOf(c, *text, canal.rows);
        if (!made) {
            return made.error();
        }
        chapter = *made;
    }
    if (const Step saved = SaveCanal(c, canal.rows, chapter); !saved) {
        return saved.error();
    }
    return kExitReport;
}

}  // namespace

sheet::ReachDetails DetailsFrom(const CommandLine& c) {
    return {.project = c.project.value_or(""),
            .channel = c.channel.value_or(""),
            .station = c.station.value_or(""),
            .designer = c.designer.value_or(""),
            .date = c.date ? *c.date : views::Today(),
            .unit = c.unit.value_or(""),
            .stage = c.stage.value_or(""),
            .number = c.number.value_or(""),
            .checker = c.checker.value_or(""),
            .checkDate = c.checkDate.value_or(""),
            .approver = c.approver.value_or(""),
            .approveDate = c.approveDate.value_or("")};
}

CommandResult RunSheet(const CommandLine& c, std::istream& in, std::ostream& err) {
    const auto& v = c.operands;
    if (c.batch) {
        if (!v.empty()) {
            return UsageError("sheet --batch takes the reaches from FILE, not from values");
        }
        return RunCanal(c, in, err);
    }
    if (v.size() != 5) {
        return UsageError("sheet takes SIZE DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const Outcome<SectionRef> size = SizeOperand(v[0], c.sections);
    if (!size) {
        return size.error();
    }
    const sheet::SheetRequest request{.section = *size,
                                      .discharge = std::string(v[1]),
                                      .slope = std::string(v[2]),
                                      .roughness = std::string(v[3]),
                                      .factor = std::string(v[4]),
                                      .reach = DetailsFrom(c),
                                      .criteria = c.criteria,
                                      .sources = SourcesFrom(c),
                                      .basis = c.basis,
                                      .fitAmong = c.sections};
    if (const Step saved = SaveSheet(c, sheet::BuildSheet(request)); !saved) {
        return saved.error();
    }
    const bool report = EvaluateCalculation(**size, {v[1], v[2], v[3], v[4]}).isReport();
    return report ? kExitReport : kExitMessage;
}

}  // namespace veltrane::cli
