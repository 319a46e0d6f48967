// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/single_run.h"

#include "hydraulics/flow_extras.h"
#include "views/lines.h"

namespace veltrane::cli {

std::string ReportAsLines(std::string_view report) {
    return views::UnixLines(report) + '\n';
}

void WriteInputs(JsonWriter& j, const ParsedInputs& inputs) {
    j.Key("inputs").BeginObject();
    j.Member("discharge", inputs.discharge);
    j.Member("slope", inputs.slope);
    j.Member("roughness", inputs.roughness);
    j.Member("factor", inputs.factor);
    j.EndObject();
}

void WriteMessage(JsonWriter& j, const CalculationMessage& message) {
    j.Member("status", "message");
    j.Member("message", message.text);
    j.Member("box", InputBoxName(message.box));
}

ExitCode RejectedInput(const CalculationMessage& m, JsonWriter& j, Format format, std::ostream& out,
                       std::ostream& err) {
    if (format == Format::Json) {
        WriteMessage(j, m);
        out << j.EndObject().text() << '\n';
    } else {
        err << m.text << '\n';
    }
    return kExitMessage;
}

std::string OutcomeAsJson(const USection& section, const CalculationOutcome& outcome) {
    JsonWriter j;
    j.BeginObject();
    j.Member("size", section.name);
    WriteInputs(j, outcome.inputs);
    if (!outcome.isReport()) {
        WriteMessage(j, outcome.message());
        return j.EndObject().text();
    }
    const SearchOutcome& s = *outcome.searches;
    const FlowElements& e = s.design.elements;
    j.Member("status", "report");
    j.Member("report", outcome.report().text);
    j.Member("check_discharge", s.checkDischarge);
    j.Key("design").BeginObject();
    j.Member("depth", s.design.reportedDepth);
    j.Member("velocity", e.velocity);
    j.Member("surface_width", e.surfaceWidth);
    j.Member("area", e.area);
    j.Member("wetted_perimeter", e.wettedPerimeter);
    j.Member("hydraulic_radius", e.hydraulicRadius);
    j.Member("chezy", e.chezy);
    j.EndObject();
    j.Key("check").BeginObject().Member("depth", s.check.reportedDepth).EndObject();
    const double froude = DesignFroudeNumber(section, s, outcome.inputs.discharge);
    j.Key("extras").BeginObject();
    j.Member("froude", froude);
    j.Member("regime", RegimeName(RegimeOf(froude)));
    j.Key("critical_depth");
    if (const auto critical = CriticalDepth(section, outcome.inputs.discharge)) {
        j.Number(*critical);
    } else {
        j.Null();
    }
    j.Member("freeboard", section.channelDepth - s.check.reportedDepth);
    j.Member("capacity", Capacity(section, outcome.inputs.bed()));
    j.EndObject();
    return j.EndObject().text();
}

}  // namespace veltrane::cli
