#include "single_run.h"

#include "json_writer.h"

namespace veltrane::cli {

std::string ReportAsLines(std::string_view report) {
    std::string out;
    out.reserve(report.size() + 1);
    for (std::size_t i = 0; i < report.size(); ++i) {
        if (report[i] == '\r' && i + 1 < report.size() && report[i + 1] == '\n') {
            continue;
        }
        out += report[i];
    }
    out += '\n';
    return out;
}

std::string OutcomeAsJson(const USection& section, const CalculationOutcome& outcome) {
    std::string j;
    j.reserve(768);
    auto key = [&j](std::string_view name) {
        AppendJsonString(j, name);
        j += ':';
    };
    auto number = [&](std::string_view name, double value) {
        key(name);
        AppendJsonNumber(j, value);
    };
    j += '{';
    key("size");
    AppendJsonString(j, SectionName(section.size));
    j += ',';
    key("inputs");
    j += '{';
    number("discharge", outcome.inputs.discharge);
    j += ',';
    number("slope", outcome.inputs.slope);
    j += ',';
    number("roughness", outcome.inputs.roughness);
    j += ',';
    number("factor", outcome.inputs.factor);
    j += "},";
    key("status");
    if (!outcome.isReport) {
        AppendJsonString(j, "message");
        j += ',';
        key("message");
        AppendJsonString(j, outcome.message.text);
        j += ',';
        key("box");
        AppendJsonString(j, InputBoxName(outcome.message.box));
        j += '}';
        return j;
    }
    const FlowElements& e = outcome.design.elements;
    AppendJsonString(j, "report");
    j += ',';
    key("report");
    AppendJsonString(j, outcome.report);
    j += ',';
    number("check_discharge", outcome.checkDischarge);
    j += ',';
    key("design");
    j += '{';
    number("depth", outcome.design.reportedDepth);
    j += ',';
    number("velocity", e.velocity);
    j += ',';
    number("surface_width", e.surfaceWidth);
    j += ',';
    number("area", e.area);
    j += ',';
    number("wetted_perimeter", e.wettedPerimeter);
    j += ',';
    number("hydraulic_radius", e.hydraulicRadius);
    j += ',';
    number("chezy", e.chezy);
    j += "},";
    key("check");
    j += '{';
    number("depth", outcome.check.reportedDepth);
    j += "}}";
    return j;
}

}  // namespace veltrane::cli
