#include "design_commands.h"

#include <charconv>
#include <cmath>
#include <string>

#include "csv.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/number_rules.h"
#include "json_writer.h"
#include "section_svg.h"
#include "single_run.h"

namespace veltrane::cli {

namespace {

enum class Format { Text, Csv, Json };

// A report number without its leading blank: ".516".
std::string Printed(double value, int decimals) {
    std::string s = FormatResultNumber(RoundHalfEven(value, decimals));
    return s[0] == ' ' ? s.substr(1) : s;
}

void Pad(std::string& line, std::string_view cell, std::size_t width) {
    line += cell;
    if (cell.size() < width) {
        line.append(width - cell.size(), ' ');
    }
    line += ' ';
}

int Usage(std::ostream& err, std::string_view what, std::string_view usage) {
    err << "veltrane-calc: " << what << "\nusage: veltrane-calc " << usage << '\n';
    return kExitUsage;
}

struct Options {
    Format format = Format::Text;
    std::string svg;
    bool force = false;
    std::string_view step;
    bool hasStep = false;
};

// Options after the values. Returns an error text, or nothing.
std::string ReadOptions(const std::vector<std::string_view>& args, std::size_t from, bool allowSvg,
                        bool allowStep, Options& o) {
    bool formatSet = false;
    for (std::size_t i = from; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (a == "--json" || a == "--csv") {
            if (formatSet) {
                return "choose one of --json and --csv";
            }
            formatSet = true;
            o.format = a == "--json" ? Format::Json : Format::Csv;
        } else if (allowSvg && a == "--svg" && i + 1 < args.size()) {
            o.svg = std::string(args[++i]);
        } else if (allowSvg && a == "--force") {
            o.force = true;
        } else if (allowStep && a == "--step" && i + 1 < args.size()) {
            o.step = args[++i];
            o.hasStep = true;
        } else {
            return "unexpected argument " + std::string(a);
        }
    }
    if (o.force && o.svg.empty()) {
        return "--force goes with --svg";
    }
    return {};
}

void MessageJson(std::string& j, const CalculationMessage& m) {
    j += "\"status\":\"message\",\"message\":";
    AppendJsonString(j, m.text);
    j += ",\"box\":";
    AppendJsonString(j, InputBoxName(m.box));
}

// The same message a single calculation gives: to stderr, or as JSON.
int RejectedInput(const CalculationMessage& m, const std::string& inputsJson, Format format,
                  std::ostream& out, std::ostream& err) {
    if (format == Format::Json) {
        std::string j = "{" + inputsJson + ",";
        MessageJson(j, m);
        out << j << "}\n";
    } else {
        err << m.text << '\n';
    }
    return kExitMessage;
}

constexpr std::string_view kFitUsage =
    "fit DISCHARGE SLOPE ROUGHNESS FACTOR [--json | --csv] [--svg FILE [--force]]";
constexpr std::string_view kTableUsage = "table SIZE SLOPE ROUGHNESS [--step S] [--csv | --json]";

std::string_view StatusCode(FitStatus s) {
    switch (s) {
        case FitStatus::Fits:
            return "fits";
        case FitStatus::DesignAbove:
            return "design_above";
        case FitStatus::CheckAbove:
            return "check_above";
        case FitStatus::Message:
            break;
    }
    return "message";
}

std::string_view StatusText(const FitRow& row) {
    switch (row.status) {
        case FitStatus::Fits:
            return "fits";
        case FitStatus::DesignAbove:
            return "design depth above the channel depth";
        case FitStatus::CheckAbove:
            return "check depth above the channel depth";
        case FitStatus::Message:
            break;
    }
    return row.outcome.message.text;
}

// The printed cells of a row that fits: design depth, check depth,
// freeboard, velocity and Froude number.
std::array<std::string, 5> FitCells(const FitRow& row) {
    if (row.status != FitStatus::Fits) {
        return {};
    }
    const int d = LookupSection(row.size).reportDecimals;
    const CalculationOutcome& o = row.outcome;
    return {Printed(o.design.reportedDepth, d), Printed(o.check.reportedDepth, d),
            Printed(row.freeboard, d), Printed(o.design.elements.velocity, 3),
            Printed(row.froude, 3)};
}

SvgPanel FitPanel(const FitRow& row) {
    SvgPanel p{&LookupSection(row.size), {}, {}, {}, {}, {}, {}};
    const CalculationOutcome& o = row.outcome;
    const int d = p.section->reportDecimals;
    if (row.status == FitStatus::Fits || row.status == FitStatus::CheckAbove) {
        p.designDepth = o.design.reportedDepth;
        p.designText = Printed(o.design.reportedDepth, d);
        p.widthText = Printed(o.design.elements.surfaceWidth, d);
    }
    if (row.status == FitStatus::Fits) {
        p.checkDepth = o.check.reportedDepth;
        p.checkText = Printed(o.check.reportedDepth, d);
    } else if (row.status == FitStatus::DesignAbove) {
        p.note = "设计水深已大于渠深";
    } else if (row.status == FitStatus::CheckAbove) {
        p.note = "校核水深已大于渠深";
    } else {
        p.note = std::string(o.message.text);
    }
    return p;
}

}  // namespace

int RunFit(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 4) {
        return Usage(err, "fit takes DISCHARGE SLOPE ROUGHNESS FACTOR", kFitUsage);
    }
    Options o;
    if (const std::string e = ReadOptions(args, 4, true, false, o); !e.empty()) {
        return Usage(err, e, kFitUsage);
    }
    const CalculationInputs inputs{args[0], args[1], args[2], args[3]};
    const FitResult fit = FitSections(inputs);
    const std::string inputsJson = InputsJson(fit.rows[0].outcome.inputs);
    if (fit.inputRejected) {
        return RejectedInput(fit.rows[0].outcome.message, inputsJson, o.format, out, err);
    }
    if (!o.svg.empty()) {
        std::vector<SvgPanel> panels;
        for (const FitRow& row : fit.rows) {
            panels.push_back(FitPanel(row));
        }
        std::string error;
        const std::string title =
            "装配式U形渠道构件选型  " + InputsTitle(args[0], args[1], args[2], args[3]);
        if (!WriteNewFile(o.svg, CrossSectionSvg(panels, title), o.force, error)) {
            err << "veltrane-calc: " << error << '\n';
            return kExitUsage;
        }
    }

    std::string text;
    if (o.format == Format::Json) {
        text = "{" + inputsJson + ",\"sections\":[";
        for (const FitRow& row : fit.rows) {
            if (row.size != SectionSize::U60) {
                text += ',';
            }
            text += "{\"size\":";
            AppendJsonString(text, SectionName(row.size));
            text += ",\"status\":";
            AppendJsonString(text, StatusCode(row.status));
            if (row.status == FitStatus::Fits) {
                const CalculationOutcome& c = row.outcome;
                text += ",\"design_depth\":";
                AppendJsonNumber(text, c.design.reportedDepth);
                text += ",\"check_depth\":";
                AppendJsonNumber(text, c.check.reportedDepth);
                text += ",\"freeboard\":";
                AppendJsonNumber(text, row.freeboard);
                text += ",\"velocity\":";
                AppendJsonNumber(text, c.design.elements.velocity);
                text += ",\"froude\":";
                AppendJsonNumber(text, row.froude);
            } else {
                text += ",\"message\":";
                AppendJsonString(text, row.outcome.message.text);
            }
            text += '}';
        }
        text += "],\"smallest\":";
        if (fit.smallest) {
            AppendJsonString(text, SectionName(*fit.smallest));
        } else {
            text += "null";
        }
        text += "}\n";
    } else if (o.format == Format::Csv) {
        text = "size,status,design_depth,check_depth,freeboard,velocity,froude,message\n";
        for (const FitRow& row : fit.rows) {
            text += SectionName(row.size);
            text += ',';
            text += StatusCode(row.status);
            for (const std::string& cell : FitCells(row)) {
                text += ',';
                text += cell;
            }
            text += ',';
            AppendCsvField(text, row.status == FitStatus::Fits ? "" : row.outcome.message.text);
            text += '\n';
        }
    } else {
        Pad(text, "size", 5);
        for (std::string_view h : {"design", "check", "freeboard", "velocity", "froude"}) {
            Pad(text, h, 9);
        }
        text += "status\n";
        for (const FitRow& row : fit.rows) {
            Pad(text, SectionName(row.size), 5);
            for (const std::string& cell : FitCells(row)) {
                Pad(text, cell.empty() ? "-" : cell, 9);
            }
            text += StatusText(row);
            text += '\n';
        }
        if (fit.smallest) {
            text += "smallest section that carries both discharges: ";
            text += SectionName(*fit.smallest);
            text += '\n';
        } else {
            text += "no standard section carries both discharges\n";
        }
    }
    out << text;
    return fit.smallest ? kExitReport : kExitMessage;
}

int RunTable(const std::vector<std::string_view>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 3) {
        return Usage(err, "table takes SIZE SLOPE ROUGHNESS", kTableUsage);
    }
    const auto size = ParseSectionName(args[0]);
    if (!size) {
        return Usage(err, "unknown size " + std::string(args[0]), kTableUsage);
    }
    Options o;
    if (const std::string e = ReadOptions(args, 3, false, true, o); !e.empty()) {
        return Usage(err, e, kTableUsage);
    }
    const USection& section = LookupSection(*size);
    double step = 0.01;
    if (o.hasStep) {
        const char* first = o.step.data();
        const char* last = first + o.step.size();
        const auto parsed = std::from_chars(first, last, step);
        if (parsed.ec != std::errc() || parsed.ptr != last || !(step > 0) ||
            step > section.channelDepth) {
            std::string depth;
            AppendJsonNumber(depth, section.channelDepth);
            return Usage(
                err,
                "--step takes a depth in metres above 0 and at most the channel depth of " +
                    std::string(SectionName(*size)) + ", " + depth + " m",
                kTableUsage);
        }
    }
    const CalculationInputs texts{"", args[1], args[2], ""};
    ParsedInputs v = ParseInputs(texts);
    static constexpr InputBox kBoxes[] = {InputBox::text6, InputBox::Text4};
    std::string inputsJson = "\"size\":";
    AppendJsonString(inputsJson, SectionName(*size));
    inputsJson += ",\"inputs\":{\"slope\":";
    AppendJsonNumber(inputsJson, v.slope);
    inputsJson += ",\"roughness\":";
    AppendJsonNumber(inputsJson, v.roughness);
    inputsJson += '}';
    if (const auto message = CheckInputs(section, v, kBoxes)) {
        return RejectedInput(*message, inputsJson, o.format, out, err);
    }

    const auto rows = RatingTable(section, v.roughness, v.slope, step);
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
    // Depths to 6 places, so any step shows; the rest as the report prints them.
    const std::array<int, 9> decimals = {6, d, d, d, d, d, 4, 3, 3};
    std::string text;
    if (o.format == Format::Json) {
        text = "{" + inputsJson + ",\"step\":";
        AppendJsonNumber(text, step);
        text += ",\"rows\":[";
        for (std::size_t i = 0; i < rows.size(); ++i) {
            text += i == 0 ? "{" : ",{";
            const auto v9 = values(rows[i]);
            for (std::size_t c = 0; c < v9.size(); ++c) {
                if (c > 0) {
                    text += ',';
                }
                AppendJsonString(text, kColumns[c]);
                text += ':';
                AppendJsonNumber(text, v9[c]);
            }
            text += '}';
        }
        text += "]}\n";
    } else {
        const bool csv = o.format == Format::Csv;
        for (std::size_t c = 0; c < std::size(kColumns); ++c) {
            if (csv) {
                text += c == 0 ? "" : ",";
                text += kColumns[c];
            } else {
                Pad(text, kColumns[c].substr(0, 10), 10);
            }
        }
        text += '\n';
        for (const RatingRow& row : rows) {
            const auto v9 = values(row);
            for (std::size_t c = 0; c < v9.size(); ++c) {
                const std::string cell = Printed(v9[c], decimals[c]);
                if (csv) {
                    text += c == 0 ? "" : ",";
                    text += cell;
                } else {
                    Pad(text, cell, 10);
                }
            }
            text += '\n';
        }
    }
    out << text;
    return kExitReport;
}

}  // namespace veltrane::cli
