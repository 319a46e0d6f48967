// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_aid_commands.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "cli/csv.h"
#include "cli/json_writer.h"
#include "cli/output_file.h"
#include "cli/sheet_output.h"
#include "cli/single_run.h"
#include "cli/size_operand.h"
#include "cli/terminal_text.h"
#include "hydraulics/design_aids.h"
#include "hydraulics/number_rules.h"
#include "sheet/selection_sheet.h"
#include "views/design_aid_text.h"
#include "views/page_requests.h"

namespace veltrane::cli {

namespace {

void WriteCriteria(JsonWriter& j, const DesignCriteria& c) {
    j.Key("criteria").BeginObject();
    if (c.minFreeboard) {
        j.Member("min_freeboard", *c.minFreeboard);
    }
    if (c.minVelocity) {
        j.Member("min_velocity", *c.minVelocity);
    }
    if (c.maxVelocity) {
        j.Member("max_velocity", *c.maxVelocity);
    }
    if (c.minDischarge) {
        j.Member("min_discharge", *c.minDischarge);
    }
    j.EndObject();
}

std::string Depth(const USection& s, const DepthSearchResult& r) {
    return PrintedNumber(r.reportedDepth, s.reportDecimals);
}

}  // namespace

CommandResult RunCapacity(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 4) {
        return UsageError("capacity takes SIZE SLOPE ROUGHNESS FACTOR");
    }
    const Outcome<SectionRef> size = SizeOperand(v[0], c.sections);
    if (!size) {
        return size.error();
    }
    const USection& section = **size;
    const CapacityResult r = FindCapacity(section, v[1], v[2], v[3], c.criteria);
    JsonWriter j;
    j.BeginObject();
    j.Member("size", section.name);
    j.Key("inputs").BeginObject();
    j.Member("slope", ParseNumber(v[1])).Member("roughness", ParseNumber(v[2]));
    j.Member("factor", ParseNumber(v[3]));
    j.EndObject();
    WriteCriteria(j, c.criteria);
    if (r.rejected) {
        return RejectedInput(*r.rejected, j, c.format, out, err);
    }
    if (c.format == Format::Json) {
        if (r.discharge) {
            const SearchOutcome& s = *r.outcome.searches;
            j.Member("discharge", *r.discharge);
            j.Key("at_search_limit").Bool(r.atSearchLimit);
            j.Member("design_depth", s.design.reportedDepth);
            j.Member("check_depth", s.check.reportedDepth);
            j.Member("report", r.outcome.report().text);
        } else {
            j.Key("discharge")
                .Null()
                .Member("reason", views::ServeFailureText(r.reason, views::Language::English));
        }
        out << j.EndObject().text() << '\n';
    } else if (r.discharge) {
        const SearchOutcome& s = *r.outcome.searches;
        out << "largest design discharge: " << (r.atSearchLimit ? "at least " : "")
            << PrintedNumber(*r.discharge, 4) << " m3/s"
            << (r.atSearchLimit ? " (the search stops there; larger ones were not tried)\n" : "\n")
            << "design depth: " << Depth(section, s.design) << " m\n"
            << "check depth: " << Depth(section, s.check) << " m\n";
    } else {
        out << "no design discharge serves: "
            << views::ServeFailureText(r.reason, views::Language::English) << '\n';
    }
    return r.discharge ? kExitReport : kExitMessage;
}

CommandResult RunSolveSlope(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 4) {
        return UsageError("solve-slope takes SIZE DISCHARGE ROUGHNESS FACTOR");
    }
    const Outcome<SectionRef> size = SizeOperand(v[0], c.sections);
    if (!size) {
        return size.error();
    }
    const USection& section = **size;
    const SlopeRange r = SolveSlope(section, v[1], v[2], v[3], c.criteria);
    JsonWriter j;
    j.BeginObject();
    j.Member("size", section.name);
    j.Key("inputs").BeginObject();
    j.Member("discharge", ParseNumber(v[1])).Member("roughness", ParseNumber(v[2]));
    j.Member("factor", ParseNumber(v[3]));
    j.EndObject();
    WriteCriteria(j, c.criteria);
    if (r.rejected) {
        return RejectedInput(*r.rejected, j, c.format, out, err);
    }
    const bool found = r.steepest && r.flattest;
    if (c.format == Format::Json) {
        if (found) {
            j.Member("steepest", static_cast<double>(*r.steepest));
            j.Member("flattest", static_cast<double>(*r.flattest));
            j.Key("reports").BeginObject();
            j.Member("steepest", r.steepestOutcome.report().text);
            j.Member("flattest", r.flattestOutcome.report().text);
            j.EndObject();
        } else {
            j.Key("steepest")
                .Null()
                .Key("flattest")
                .Null()
                .Member("reason", views::ServeFailureText(r.reason, views::Language::English));
        }
        out << j.EndObject().text() << '\n';
    } else if (found) {
        out << "steepest slope: 1/" << *r.steepest << '\n'
            << "flattest slope: 1/" << *r.flattest << "\n\nat 1/" << *r.steepest << ":\n"
            << ReportAsLines(r.steepestOutcome.report().text) << "\nat 1/" << *r.flattest << ":\n"
            << ReportAsLines(r.flattestOutcome.report().text);
    } else {
        out << "no slope serves: " << views::ServeFailureText(r.reason, views::Language::English)
            << '\n';
    }
    return found ? kExitReport : kExitMessage;
}

CommandResult RunSelectTable(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 2) {
        return UsageError("select-table takes ROUGHNESS FACTOR and --slopes LIST");
    }
    if (!c.slopes) {
        return UsageError("select-table needs --slopes LIST, for example 300,500,1000");
    }
    const auto slopes = views::ReadSlopeList(*c.slopes);
    if (!slopes) {
        return UsageError("--slopes takes 1 to " + std::to_string(views::kMostSlopes) +
                          " whole slope denominators from 1 to " +
                          std::to_string(views::kLargestSlope) + ", separated by commas");
    }
    const std::vector<const USection*> sections = c.sections.ByArea();
    const std::vector<SelectionRow> rows =
        SelectionTable(*slopes, v[0], v[1], c.criteria, sections);
    JsonWriter j;
    j.BeginObject();
    j.Key("inputs").BeginObject();
    j.Member("roughness", ParseNumber(v[0])).Member("factor", ParseNumber(v[1]));
    j.EndObject();
    WriteCriteria(j, c.criteria);
    for (const CapacityResult& first : rows.front().sections) {
        if (first.rejected) {
            return RejectedInput(*first.rejected, j, c.format, out, err);
        }
    }
    if (c.svg) {
        const std::string svg =
            sheet::SelectionChartSvg(rows, std::string(sheet::kSelectionChartTitle));
        if (const Step saved = WriteOutputFile(*c.svg, svg, c.force); !saved) {
            return saved.error();
        }
    }
    if (c.html || c.pdf || c.docx) {
        const sheet::Document doc = sheet::BuildSelectionSheet(
            rows, std::string(v[0]), std::string(v[1]), c.criteria, c.date.value_or(""));
        if (const Step saved = SaveSheet(c, doc); !saved) {
            return saved.error();
        }
    }
    const auto cell = [](const CapacityResult& r) {
        return r.discharge ? PrintedNumber(*r.discharge, 4) : std::string();
    };
    std::string text;
    if (c.format == Format::Json) {
        j.Key("rows").BeginArray();
        for (const SelectionRow& row : rows) {
            j.BeginObject().Member("slope", static_cast<double>(row.slope));
            for (const CapacityResult& r : row.sections) {
                j.Key(r.section->name);
                if (const auto q = r.discharge) {
                    j.Number(*q);
                } else {
                    j.Null();
                }
            }
            j.EndObject();
        }
        text = j.EndArray().EndObject().text();
        text += '\n';
    } else if (c.format == Format::Csv) {
        text = c.bom ? std::string(kUtf8Bom) : std::string();
        text += "slope";
        for (const USection* s : sections) {
            text += ',';
            AppendCsvField(text, s->name, c.bom ? CsvFor::Spreadsheets : CsvFor::Scripts);
        }
        text += '\n';
        for (const SelectionRow& row : rows) {
            text += std::to_string(row.slope);
            for (const CapacityResult& r : row.sections) {
                text += ',' + cell(r);
            }
            text += '\n';
        }
    } else {
        // Ten columns a value, wider where a name is.
        std::vector<std::size_t> widths;
        std::string heading = "slope     ";
        for (const USection* s : sections) {
            widths.push_back(std::max<std::size_t>(TerminalColumns(s->name) + 1, 10));
            heading += TerminalText(s->name);
            heading.append(widths.back() - TerminalColumns(s->name), ' ');
        }
        while (!heading.empty() && heading.back() == ' ') {
            heading.pop_back();
        }
        text = "largest design discharge, m3/s\n" + heading + '\n';
        for (const SelectionRow& row : rows) {
            std::string line = "1/" + std::to_string(row.slope);
            line.resize(std::max<std::size_t>(line.size() + 1, 10), ' ');
            for (std::size_t s = 0; s < row.sections.size(); ++s) {
                const CapacityResult& r = row.sections[s];
                std::string value = r.discharge ? (r.atSearchLimit ? ">=" : "") + cell(r) : "-";
                value.resize(std::max<std::size_t>(value.size() + 1, widths[s]), ' ');
                line += value;
            }
            while (!line.empty() && line.back() == ' ') {
                line.pop_back();
            }
            text += line + '\n';
        }
    }
    out << text;
    return kExitReport;
}

}  // namespace veltrane::cli
