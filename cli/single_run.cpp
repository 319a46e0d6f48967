#include "single_run.h"

#include "hydraulics/flow_extras.h"
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

std::string InputsJson(const ParsedInputs& inputs) {
    std::string j = "\"inputs\":{\"discharge\":";
    AppendJsonNumber(j, inputs.discharge);
    j += ",\"slope\":";
    AppendJsonNumber(j, inputs.slope);
    j += ",\"roughness\":";
    AppendJsonNumber(j, inputs.roughness);
    j += ",\"factor\":";
    AppendJsonNumber(j, inputs.factor);
    j += '}';
    return j;
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
    j += InputsJson(outcome.inputs);
    j += ',';
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
    j += "},";
    const double froude = FroudeNumber(e);
    key("extras");
    j += '{';
    number("froude", froude);
    j += ',';
    key("regime");
    AppendJsonString(j, RegimeName(RegimeOf(froude)));
    j += ',';
    key("critical_depth");
    if (const auto critical = CriticalDepth(section, outcome.inputs.discharge)) {
        AppendJsonNumber(j, *critical);
    } else {
        j += "null";
    }
    j += ',';
    number("freeboard", section.channelDepth - outcome.check.reportedDepth);
    j += ',';
    number("capacity", Capacity(section, outcome.inputs.roughness, outcome.inputs.slope));
    j += "}}";
    return j;
}

}  // namespace veltrane::cli
