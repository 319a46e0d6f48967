// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/design_commands.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "cli/csv.h"
#include "cli/drawing_output.h"
#include "cli/json_writer.h"
#include "cli/output_file.h"
#include "cli/single_run.h"
#include "cli/size_operand.h"
#include "cli/terminal_text.h"
#include "hydraulics/float_chars.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/number_rules.h"
#include "sheet/fit_view.h"

namespace veltrane::cli {

namespace {

void Pad(std::string& line, std::string_view cell, std::size_t width) {
    line += cell;
    const std::size_t columns = TerminalColumns(cell);
    if (columns < width) {
        line.append(width - columns, ' ');
    }
    line += ' ';
}

std::string_view StatusCode(FitStatus s) {
    switch (s) {
        case FitStatus::Fits:
            return "fits";
        case FitStatus::FailsCriteria:
            return "fails_criteria";
        case FitStatus::DesignAbove:
            return "design_above";
        case FitStatus::CheckAbove:
            return "check_above";
        case FitStatus::Message:
            break;
    }
    return "message";
}

// "freeboard .024 below .05, velocity 1.029 above 1": each criterion missed.
std::string CriteriaText(const FitRow& row) {
    std::string text;
    const int d = row.section->reportDecimals;
    for (const CriterionCheck& c : row.criteria) {
        if (c.passes) {
            continue;
        }
        text += text.empty() ? "" : ", ";
        const bool freeboard = c.kind == CriterionKind::MinFreeboard;
        text += freeboard ? "freeboard " : "velocity ";
        text += PrintedNumber(c.value, freeboard ? d : 3);
        if (!freeboard) {
            text += c.flow == CriterionFlow::Check     ? " at kQ"
                    : c.flow == CriterionFlow::Minimum ? " at the minimum discharge"
                                                       : " at Q";
        }
        text += c.kind == CriterionKind::MaxVelocity ? " above " : " below ";
        JsonWriter limit;
        limit.Number(c.limit);
        text += limit.text();
    }
    return text;
}

std::string StatusText(const FitRow& row) {
    switch (row.status) {
        case FitStatus::Fits:
            return "fits";
        case FitStatus::FailsCriteria:
            return CriteriaText(row);
        case FitStatus::DesignAbove:
            return "design depth above the channel depth";
        case FitStatus::CheckAbove:
            return "check depth above the channel depth";
        case FitStatus::Message:
            break;
    }
    return std::string(row.outcome.message().text);
}

// The printed cells of a row that fits: design depth, check depth,
// freeboard, velocity and Froude number.
std::array<std::string, 5> FitCells(const FitRow& row) {
    if (row.status != FitStatus::Fits && row.status != FitStatus::FailsCriteria) {
        return {};
    }
    const int d = row.section->reportDecimals;
    const SearchOutcome& s = *row.outcome.searches;
    return {PrintedNumber(s.design.reportedDepth, d), PrintedNumber(s.check.reportedDepth, d),
            PrintedNumber(row.freeboard, d), PrintedNumber(s.design.elements.velocity, 3),
            PrintedNumber(row.froude, 3)};
}

}  // namespace

CommandResult RunFit(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 4) {
        return UsageError("fit takes DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const std::vector<const USection*> sections = c.sections.ByArea();
    const FitResult fit = FitSections({v[0], v[1], v[2], v[3]}, c.criteria, sections);
    JsonWriter j;
    j.BeginObject();
    WriteInputs(j, fit.rows[0].outcome.inputs);
    if (fit.rejected) {
        return RejectedInput(*fit.rejected, j, c.format, out, err);
    }
    if (const Step saved = SaveDrawing(
            c,
            [&] {
                return sheet::FitDrawingSvg(fit, {v[0], v[1], v[2], v[3]});
            },
            [&] {
                return DrawingDxf(sheet::FitPanels(fit),
                                  sheet::FitDrawingTitle({v[0], v[1], v[2], v[3]}));
            });
        !saved) {
        return saved.error();
    }

    std::string text;
    if (c.format == Format::Json) {
        j.Key("sections").BeginArray();
        for (const FitRow& row : fit.rows) {
            j.BeginObject();
            j.Member("size", row.section->name);
            j.Member("status", StatusCode(row.status));
            if (row.status == FitStatus::Fits || row.status == FitStatus::FailsCriteria) {
                const SearchOutcome& s = *row.outcome.searches;
                j.Member("design_depth", s.design.reportedDepth);
                j.Member("check_depth", s.check.reportedDepth);
                j.Member("freeboard", row.freeboard);
                j.Member("velocity", s.design.elements.velocity);
                j.Member("froude", row.froude);
                if (!row.criteria.empty()) {
                    j.Key("criteria").BeginArray();
                    for (const CriterionCheck& k : row.criteria) {
                        static constexpr std::string_view kNames[] = {
                            "min_freeboard", "min_velocity", "max_velocity"};
                        j.BeginObject();
                        j.Member("criterion", kNames[static_cast<int>(k.kind)]);
                        j.Member("limit", k.limit).Member("value", k.value);
                        j.Key("passes").Bool(k.passes);
                        j.EndObject();
                    }
                    j.EndArray();
                }
            } else {
                j.Member("message", row.outcome.message().text);
            }
            j.EndObject();
        }
        j.EndArray().Key("smallest");
        if (fit.smallest) {
            j.String(fit.smallest->name);
        } else {
            j.Null();
        }
        text = j.EndObject().text();
        text += '\n';
    } else if (c.format == Format::Csv) {
        if (c.bom) {
            text += kUtf8Bom;
        }
        text += "size,status,design_depth,check_depth,freeboard,velocity,froude,message\n";
        for (const FitRow& row : fit.rows) {
            AppendCsvField(text, row.section->name, c.bom ? CsvFor::Spreadsheets : CsvFor::Scripts);
            text += ',';
            text += StatusCode(row.status);
            for (const std::string& cell : FitCells(row)) {
                text += ',';
                text += cell;
            }
            text += ',';
            const bool fits = row.status == FitStatus::Fits;
            AppendCsvField(text, fits ? std::string()
                                 : row.status == FitStatus::FailsCriteria
                                     ? CriteriaText(row)
                                     : std::string(row.outcome.message().text));
            text += '\n';
        }
    } else {
        std::size_t nameWidth = 5;
        for (const FitRow& row : fit.rows) {
            nameWidth = std::max(nameWidth, TerminalColumns(row.section->name));
        }
        Pad(text, "size", nameWidth);
        for (std::string_view h : {"design", "check", "freeboard", "velocity", "froude"}) {
            Pad(text, h, 9);
        }
        text += "status\n";
        for (const FitRow& row : fit.rows) {
            Pad(text, TerminalText(row.section->name), nameWidth);
            for (const std::string& cell : FitCells(row)) {
                Pad(text, cell.empty() ? "-" : cell, 9);
            }
            text += StatusText(row);
            text += '\n';
        }
        // With criteria, "fits" means that they are met as well.
        const std::string_view met = c.criteria.empty() ? "" : " and meets the criteria";
        if (fit.smallest) {
            text += "smallest section that carries both discharges";
            text += met;
            text += ": ";
            text += TerminalText(fit.smallest->name);
            text += '\n';
        } else {
            text += c.sections.userCount() > 0 ? "no section carries both discharges"
                                               : "no standard section carries both discharges";
            text += met;
            text += '\n';
        }
    }
    out << text;
    return fit.smallest ? kExitReport : kExitMessage;
}

CommandResult RunTable(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& args = c.operands;
    if (args.size() != 3) {
        return UsageError("table takes SIZE SLOPE ROUGHNESS");
    }
    const Outcome<SectionRef> size = SizeOperand(args[0], c.sections);
    if (!size) {
        return size.error();
    }
    const USection& section = **size;
    double step = 0.01;
    if (c.step) {
        const char* first = c.step->data();
        const char* last = first + c.step->size();
        const auto parsed = FromChars(first, last, step);
        // The smallest step bounds the table; the comparison is written so
        // that NaN fails it too.
        if (parsed.ec != std::errc() || parsed.ptr != last ||
            !(step >= kSmallestRatingStep && step <= section.channelDepth)) {
            JsonWriter depth;
            depth.Number(section.channelDepth);
            return UsageError(
                "--step takes a depth in metres from 0.0001 to the channel "
                "depth of " +
                std::string(section.name) + ", " + depth.text() + " m");
        }
    }
    const CalculationInputs texts{"", args[1], args[2], ""};
    const ParsedInputs v = ParseInputs(texts);
    static constexpr InputBox kBoxes[] = {InputBox::text6, InputBox::Text4};
    JsonWriter j;
    j.BeginObject();
    j.Member("size", section.name);
    j.Key("inputs").BeginObject();
    j.Member("slope", v.slope).Member("roughness", v.roughness);
    j.EndObject();
    if (const auto message = CheckInputs(section, v, kBoxes)) {
        return RejectedInput(*message, j, c.format, out, err);
    }

    const auto rows = RatingTable(section, v.bed(), step);
    static constexpr std::string_view kColumns[] = {
        "depth", "area",          "wetted_perimeter", "hydraulic_radius",
        "chezy", "surface_width", "discharge",        "velocity",
        "froude"};
    const int d = section.reportDecimals;
    const auto values = [](const RatingRow& r) {
        const FlowElements& e = r.elements;
        return std::array<double, 9>{e.depth,           e.area,     e.wettedPerimeter,
                                     e.hydraulicRadius, e.chezy,    e.surfaceWidth,
                                     e.discharge,       e.velocity, r.froude};
    };
    // A value past the double range (a roughness of 1e-310 makes 1/n
    // infinite) is never printed; the calculation says message 7 for it.
    for (const RatingRow& row : rows) {
        for (const double value : values(row)) {
            if (!std::isfinite(value)) {
                return RejectedInput(OutOfRangeMessage(section), j, c.format, out, err);
            }
        }
    }
    // Depths to 6 places, so any step shows; the rest as the report prints them.
    const std::array<int, 9> decimals = {6, d, d, d, d, d, 4, 3, 3};
    // Text columns: 10 wide, or the whole name and a blank where it is longer.
    std::array<std::size_t, 9> widths{};
    for (std::size_t col = 0; col < widths.size(); ++col) {
        widths[col] = std::max<std::size_t>(10, kColumns[col].size() + 1);
    }
    std::string text;
    if (c.format == Format::Json) {
        j.Member("step", step);
        j.Key("rows").BeginArray();
        for (const RatingRow& row : rows) {
            j.BeginObject();
            const auto v9 = values(row);
            for (std::size_t col = 0; col < v9.size(); ++col) {
                j.Member(kColumns[col], v9[col]);
            }
            j.EndObject();
        }
        text = j.EndArray().EndObject().text();
        text += '\n';
    } else {
        const bool csv = c.format == Format::Csv;
        if (csv && c.bom) {
            text += kUtf8Bom;
        }
        for (std::size_t col = 0; col < std::size(kColumns); ++col) {
            if (csv) {
                text += col == 0 ? "" : ",";
                text += kColumns[col];
            } else {
                Pad(text, kColumns[col], widths[col]);
            }
        }
        text += '\n';
        for (const RatingRow& row : rows) {
            const auto v9 = values(row);
            for (std::size_t col = 0; col < v9.size(); ++col) {
                const std::string cell = PrintedNumber(v9[col], decimals[col]);
                if (csv) {
                    text += col == 0 ? "" : ",";
                    text += cell;
                } else {
                    Pad(text, cell, widths[col]);
                }
            }
            text += '\n';
        }
    }
    out << text;
    return kExitReport;
}

}  // namespace veltrane::cli
