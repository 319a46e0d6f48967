// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/profile_command.h"

#include <cmath>

#include "canal/water_surface.h"
#include "cli/csv.h"
#include "cli/drawing_output.h"
#include "cli/terminal_text.h"
#ifdef VELTRANE_CLI_HANDOFF
#include "handoff/profile_dxf.h"
#endif
#include "cli/input_text.h"
#include "cli/json_writer.h"
#include "cli/output_file.h"
#include "cli/profile_conditions.h"
#include "cli/profile_csv.h"
#include "cli/profile_rows.h"
#include "cli/sheet_command.h"
#include "cli/sheet_output.h"
#include "sheet/profile_sheet.h"
#include "sheet/profile_svg.h"
#include "views/numbers.h"
#include "views/profile_words.h"

namespace veltrane::cli {

namespace {

using canal::FlowKind;
using canal::Station;
using views::Language;

// Problems of a file said at most; the rest are counted.
constexpr std::size_t kMostProblems = 20;

// Metres to four places, the precision of every length the profile gives.
double Metres(double v) {
    const double r = std::round(v * 1e4) / 1e4;
    return r == 0 ? 0.0 : r;  // never "-0"
}

std::string Fixed(double v, int decimals = 4) {
    return decimals == 4 ? FourPlaces(v) : views::Decimal(v, decimals);
}

void Pad(std::string& out, const std::string& cell, std::size_t width) {
    out += cell;
    out.append(cell.size() < width ? width - cell.size() : 1, ' ');
}

std::string ReachName(const canal::CanalRequest& r, std::size_t i) {
    return r.reaches[i].name;
}

// The text table goes to a terminal: names with control characters shown,
// not run (see TerminalText).
void WriteText(const canal::CanalRequest& request, const canal::CanalProfile& p, std::string& out) {
    const auto ReachName = [&request](const canal::CanalRequest&, std::size_t i) {
        return TerminalText(request.reaches[i].name);
    };
    static constexpr std::string_view kColumns[] = {"chainage",  "bed",    "depth",  "level",
                                                    "velocity",  "froude", "energy", "top",
                                                    "freeboard", "type"};
    for (const canal::FlowProfile& flow : p.flows) {
        out += std::string(views::FlowName(flow.kind, Language::English)) + " flow, " +
               (flow.kind == FlowKind::Design ? "Q" : "kQ, k = " + Fixed(flow.factor, 2)) + "\n";
        for (std::size_t i = 0; i < flow.reaches.size(); ++i) {
            const canal::ReachFlow& r = flow.reaches[i];
            // Beside the exact uniform depth, the window's stepped one.
            const std::string stepped =
                r.steppedDepth
                    ? " (the window's stepped depth " + views::Decimal(*r.steppedDepth, 3) + " m)"
                : r.steppedAboveTop ? " (the window's stepped depth passes H)"
                                    : "";
            out += "  " + ReachName(request, i) + ": " + request.reaches[i].sizeName + ", Q " +
                   Fixed(r.discharge) + " m3/s, normal depth " + Fixed(r.normalDepth) + " m" +
                   stepped + ", critical depth " + Fixed(r.criticalDepth) + " m, " +
                   (r.steep ? "steep" : "mild") + "\n";
        }
        for (const std::string_view c : kColumns) {
            Pad(out, std::string(c), 11);
        }
        out += "reach\n";
        for (const Station& s : flow.stations) {
            for (const double v : {s.chainage, s.bed, s.depth, s.level, s.velocity, s.froude,
                                   s.energy, s.top, s.freeboard}) {
                Pad(out, Fixed(v), 11);
            }
            Pad(out, std::string(views::CurveTypeName(s.type, Language::English)), 11);
            out += ReachName(request, s.reach) + "\n";
        }
        for (const canal::Jump& j : flow.jumps) {
            out += "hydraulic jump at " + Fixed(j.chainage) + " m in " +
                   ReachName(request, j.reach) + ": " + Fixed(j.upstreamDepth) + " m to " +
                   Fixed(j.downstreamDepth) + " m\n";
        }
        out += "\n";
    }
    for (const canal::Stretch& s : p.checks.overtopped) {
        out += "the water overtops at " + std::string(views::FlowName(s.flow, Language::English)) +
               " flow in " + ReachName(request, s.reach) + " from " + Fixed(s.from) + " to " +
               Fixed(s.to) + " m (by up to " + Fixed(-s.worst) + " m)\n";
    }
    for (const canal::Stretch& s : p.checks.shortFreeboard) {
        out += "freeboard below " + Fixed(*request.minFreeboard) + " m at check flow in " +
               ReachName(request, s.reach) + " from " + Fixed(s.from) + " to " + Fixed(s.to) +
               " m (least " + Fixed(s.worst) + " m)\n";
    }
    for (const canal::TurnoutCheck& t : p.checks.turnouts) {
        out += "turnout level of " + ReachName(request, t.reach) + ": " + Fixed(t.level) +
               " m at design flow, required " + Fixed(t.required) +
               " m: " + (t.met ? "reached" : "not reached") + "\n";
    }
    out += p.checks.ok() ? "the water stays within the channel and every check holds\n"
                         : "a check fails\n";
}

}  // namespace

std::string ProfileJson(const canal::CanalRequest& request, const canal::CanalProfile& p) {
    JsonWriter j;
    j.BeginObject();
    j.Member("factor", request.factor);
    j.Key("flows").BeginArray();
    for (const canal::FlowProfile& flow : p.flows) {
        j.BeginObject();
        j.Member("kind", views::FlowName(flow.kind, Language::English));
        j.Member("discharge", Metres(flow.reaches.front().discharge));
        j.Key("reaches").BeginArray();
        for (std::size_t i = 0; i < flow.reaches.size(); ++i) {
            const canal::ReachFlow& r = flow.reaches[i];
            j.BeginObject()
                .Member("reach", ReachName(request, i))
                .Member("size", request.reaches[i].sizeName)
                .Member("discharge", Metres(r.discharge))
                .Member("normal_depth", Metres(r.normalDepth));
            if (r.steppedDepth) {
                j.Member("stepped_depth", Metres(*r.steppedDepth));
            }
            j.Member("critical_depth", Metres(r.criticalDepth))
                .Member("regime", r.steep ? "steep" : "mild")
                .EndObject();
        }
        j.EndArray();
        j.Key("stations").BeginArray();
        for (const Station& s : flow.stations) {
            j.BeginObject()
                .Member("reach", ReachName(request, s.reach))
                .Member("chainage", Metres(s.chainage))
                .Member("bed", Metres(s.bed))
                .Member("depth", Metres(s.depth))
                .Member("level", Metres(s.level))
                .Member("velocity", Metres(s.velocity))
                .Member("froude", Metres(s.froude))
                .Member("energy", Metres(s.energy))
                .Member("top", Metres(s.top))
                .Member("freeboard", Metres(s.freeboard))
                .Member("type", views::CurveTypeName(s.type, Language::English))
                .EndObject();
        }
        j.EndArray();
        j.Key("jumps").BeginArray();
        for (const canal::Jump& jump : flow.jumps) {
            j.BeginObject()
                .Member("reach", ReachName(request, jump.reach))
                .Member("chainage", Metres(jump.chainage))
                .Member("upstream_depth", Metres(jump.upstreamDepth))
                .Member("downstream_depth", Metres(jump.downstreamDepth))
                .EndObject();
        }
        j.EndArray().EndObject();
    }
    j.EndArray();
    j.Key("checks").BeginArray();
    const auto stretches = [&](const std::vector<canal::Stretch>& list, const char* check) {
        for (const canal::Stretch& s : list) {
            j.BeginObject()
                .Member("check", check)
                .Member("flow", views::FlowName(s.flow, Language::English))
                .Member("reach", ReachName(request, s.reach))
                .Member("from", Metres(s.from))
                .Member("to", Metres(s.to))
                .Member("worst_freeboard", Metres(s.worst))
                .EndObject();
        }
    };
    stretches(p.checks.overtopped, "overtopped");
    stretches(p.checks.shortFreeboard, "freeboard");
    for (const canal::TurnoutCheck& t : p.checks.turnouts) {
        j.BeginObject()
            .Member("check", "turnout")
            .Member("flow", "design")
            .Member("reach", ReachName(request, t.reach))
            .Member("required", Metres(t.required))
            .Member("level", Metres(t.level))
            .Member("met", t.met)
            .EndObject();
    }
    j.EndArray();
    j.Member("ok", p.checks.ok());
    j.EndObject();
    return j.text();
}

Step ReadConditions(const CommandLine& c, canal::CanalRequest& request) {
    const std::vector<views::ConditionProblem> problems =
        ReadConditionTexts({.factor = c.factor, .end = c.end, .spacing = c.spacing}, request);
    if (!problems.empty()) {
        return UsageError(views::ConditionProblemText(problems.front(), Language::English));
    }
    request.minFreeboard = c.criteria.minFreeboard;

    return Done{};
}

Step CheckStations(const CommandLine& c, const canal::CanalRequest& request) {
    if (const auto tooMany = TooManyStations(request, c.spacing)) {
        return UsageError(views::ConditionProblemText(*tooMany, Language::English));
    }

    return Done{};
}

CommandResult RunProfile(const CommandLine& c, std::istream& in, std::ostream& out,
                         std::ostream& err) {
    if (c.operands.size() != 1) {
        return UsageError(
            "profile takes one FILE, the canal's reaches (\"-\" reads standard input)");
    }
    canal::CanalRequest request;
    if (const Step read = ReadConditions(c, request); !read) {
        return read.error();
    }

    const Outcome<std::string> text = ReadBatchInput(std::string(c.operands[0]), in, err);
    if (!text) {
        return text.error();
    }
    ProfileReading reading = ReadProfileRows(*text, c.sections);
    if (!reading.ok()) {
        std::string said;
        for (std::size_t i = 0; i < reading.problems.size() && i < kMostProblems; ++i) {
            said += (i ? "\nveltrane-calc: " : "") +
                    views::ProfileProblemText(reading.problems[i], Language::English);
        }
        if (reading.problems.size() > kMostProblems) {
            said += "\nveltrane-calc: " + std::to_string(reading.problems.size() - kMostProblems) +
                    " further problems are not listed";
        }
        return InputError(said);
    }
    request.reaches = std::move(reading.reaches);
    if (const Step fits = CheckStations(c, request); !fits) {
        return fits.error();
    }
    const canal::CanalProfile profile = canal::ComputeProfile(request);
    if (const Step saved = SaveDrawing(
            c, [&] { return sheet::LongitudinalProfileSvg(request, profile); },
            [&] {
#ifdef VELTRANE_CLI_HANDOFF
                return handoff::ProfileDxf(request, profile);
#else
                return std::string();
#endif
            });
        !saved) {
        return saved.error();
    }
    if (c.html || c.pdf || c.docx) {
        const sheet::ProfileSheetRequest sheetRequest{
            .canal = request, .details = DetailsFrom(c), .basis = c.basis};
        if (const Step saved = SaveSheet(c, sheet::BuildProfileSheet(sheetRequest, profile));
            !saved) {
            return saved.error();
        }
    }
    std::string written;
    switch (c.format) {
        case Format::Json:
            written = ProfileJson(request, profile) + "\n";
            break;
        case Format::Csv:
            written = std::string(c.bom ? kUtf8Bom : "") +
                      ProfileCsv(request, profile, Language::English,
                                 c.bom ? CsvFor::Spreadsheets : CsvFor::Scripts);
            break;
        case Format::Text:
            WriteText(request, profile, written);
            break;
    }
    out << written;
    return profile.checks.ok() ? kExitReport : kExitMessage;
}

}  // namespace veltrane::cli
