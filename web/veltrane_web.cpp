// SPDX-License-Identifier: GPL-3.0-or-later
// What the web page calls: one press of 计算 with all the page needs to carry
// out its outcome, the rating view, the catalogue, and veltrane-calc's own
// command line for everything else (fit, drawings, sheets, batch, design
// aids), so that the page prints what the command line prints, byte for byte.
// Every answer is JSON text or plain text; user texts stay text throughout.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "cli/command_line.h"
#include "cli/json_writer.h"
#include "cli/veltrane_cli.h"
#include "hydraulics/calculation_run.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/section_catalogue.h"
#include "hydraulics/section_dimensions.h"
#include "views/design_aid_text.h"
#include "sheet/fit_view.h"
#include "sheet/rating_svg.h"
#include "sheet/section_svg.h"

namespace veltrane::web {

namespace {

using cli::JsonWriter;

// size: 0 … 4 for U60 … U140; anything else is taken as U120, the
// preselected size, so that no call from the page can read past the table.
const USection& SectionAt(int size) {
    if (size < 0 || size >= kSectionCount) {
        return LookupSection(SectionSize::U120);
    }
    return SectionCatalogue[static_cast<std::size_t>(size)];
}

void WriteMessage(JsonWriter& j, const CalculationMessage& m) {
    j.Key("message").BeginObject();
    j.Member("number", static_cast<double>(m.number));
    j.Member("text", m.text);
    j.Member("box", InputBoxName(m.box));
    j.Key("restores").BeginArray();
    for (std::size_t i = 0; i < m.restoreCount; ++i) {
        j.BeginObject()
            .Member("box", InputBoxName(m.restores[i].box))
            .Member("text", m.restores[i].text)
            .EndObject();
    }
    j.EndArray();
    j.Member("reportBoxText", m.reportBoxText);
    j.EndObject();
}

// {"header": …, "report": …} or {"header": …, "message": {number, text, box,
// restores: [{box, text}], reportBoxText}}.
std::string Calculate(int size, const std::string& discharge, const std::string& slope,
                      const std::string& roughness, const std::string& factor) {
    const CalculationOutcome o =
        RunCalculation(SectionAt(size), {discharge, slope, roughness, factor});
    JsonWriter j;
    j.BeginObject().Member("header", o.header);
    if (o.isReport()) {
        j.Member("report", o.report().text);
    } else {
        WriteMessage(j, o.message());
    }
    return j.EndObject().text();
}

// {"message": …} for a rejected text, or {"svg": …}: the drawing of the run,
// also where a depth lies above the channel.
std::string Drawing(int size, const std::string& discharge, const std::string& slope,
                    const std::string& roughness, const std::string& factor) {
    const USection& section = SectionAt(size);
    const CalculationInputs texts{discharge, slope, roughness, factor};
    const CalculationOutcome o = RunCalculation(section, texts);
    JsonWriter j;
    j.BeginObject();
    if (o.rejectsInputs()) {
        WriteMessage(j, o.message());
    } else {
        j.Member("svg", sheet::RunDrawingSvg(section, texts, o));
    }
    return j.EndObject().text();
}

// Criteria given as veltrane-calc's options ("--min-freeboard", "0.2", …),
// read by its own parser: the criteria, or what is wrong with them.
std::variant<DesignCriteria, std::string> ReadCriteria(const std::vector<std::string>& options) {
    std::vector<std::string_view> args = {"fit"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--", "1", "1", "1", "1"});
    auto parsed = cli::ParseCommandLine(args);
    if (auto* error = std::get_if<std::string>(&parsed)) {
        return std::move(*error);
    }
    return std::get<cli::CommandLine>(parsed).criteria;
}

// {"capacity": …, "slopes": …}: the two design aids in words, as the
// program's dialog shows them, or {"error": …} for refused criteria.
std::string DesignAids(int size, const std::string& discharge, const std::string& slope,
                       const std::string& roughness, const std::string& factor,
                       const std::vector<std::string>& criteria) {
    const auto read = ReadCriteria(criteria);
    JsonWriter j;
    j.BeginObject();
    if (const auto* error = std::get_if<std::string>(&read)) {
        return j.Member("error", *error).EndObject().text();
    }
    const DesignCriteria& c = std::get<DesignCriteria>(read);
    const USection& section = SectionAt(size);
    j.Member("capacity",
             views::CapacityText(slope, FindCapacity(section, slope, roughness, factor, c)));
    j.Member("slopes", views::SlopeRangeText(SolveSlope(section, discharge, roughness, factor, c)));
    return j.EndObject().text();
}

// {"headings": […], "rows": [[…]], "verdict": …, "svg": …} as the program's
// 选型 dialog shows it, {"message": …} for rejected texts, or {"error": …}.
std::string Fit(const std::string& discharge, const std::string& slope,
                const std::string& roughness, const std::string& factor,
                const std::vector<std::string>& criteria) {
    const auto read = ReadCriteria(criteria);
    JsonWriter j;
    j.BeginObject();
    if (const auto* error = std::get_if<std::string>(&read)) {
        return j.Member("error", *error).EndObject().text();
    }
    const CalculationInputs texts{discharge, slope, roughness, factor};
    const FitResult fit = FitSections(texts, std::get<DesignCriteria>(read));
    if (fit.rejected) {
        WriteMessage(j, *fit.rejected);
        return j.EndObject().text();
    }
    j.Key("headings").BeginArray();
    for (std::string_view h : sheet::kFitHeadings) {
        j.String(h);
    }
    j.EndArray().Key("rows").BeginArray();
    for (const FitRow& row : fit.rows) {
        j.BeginArray();
        for (const std::string& cell : sheet::FitCells(row)) {
            j.String(cell);
        }
        j.EndArray();
    }
    j.EndArray();
    j.Member("verdict", sheet::FitVerdict(fit));
    j.Member("svg", sheet::FitDrawingSvg(fit, texts));
    return j.EndObject().text();
}

// {"message": …} or {"headings": […], "rows": [[…]], "csv": …, "svg": …}.
std::string Rating(int size, const std::string& discharge, const std::string& slope,
                   const std::string& roughness, const std::string& factor) {
    const USection& section = SectionAt(size);
    const sheet::RatingView view =
        sheet::RatingViewFor(section, {discharge, slope, roughness, factor});
    JsonWriter j;
    j.BeginObject();
    if (view.message) {
        WriteMessage(j, *view.message);
        return j.EndObject().text();
    }
    j.Key("headings").BeginArray();
    for (std::string_view h : sheet::kRatingHeadings) {
        j.String(h);
    }
    j.EndArray().Key("rows").BeginArray();
    for (const RatingRow& row : view.rows) {
        j.BeginArray();
        for (const std::string& cell : sheet::RatingCells(section, row)) {
            j.String(cell);
        }
        j.EndArray();
    }
    j.EndArray();
    j.Member("csv", sheet::RatingCsv(section, view.rows));
    j.Member("svg", view.svg);
    return j.EndObject().text();
}

// The five sections with the texts the page shows: [{name, sizeLabel,
// reportHeader, defaults: {Text2, Text4, text6, Text7},
// dimensions: [name, depth, top width, slab, angle, radius]}].
std::string Catalogue() {
    JsonWriter j;
    j.BeginArray();
    for (const USection& s : SectionCatalogue) {
        const SectionDimensions& d = DimensionsOf(s.size);
        j.BeginObject();
        j.Member("name", SectionName(s.size));
        j.Member("sizeLabel", s.sizeLabel);
        j.Member("reportHeader", s.reportHeader);
        j.Key("defaults").BeginObject();
        for (const InputBox box :
             {InputBox::Text2, InputBox::Text4, InputBox::text6, InputBox::Text7}) {
            j.Member(InputBoxName(box), DefaultText(s, box));
        }
        j.EndObject();
        j.Key("dimensions").BeginArray();
        for (std::string_view cell :
             {d.name, d.depthCm, d.topWidthCm, d.slabCm, d.angleDeg, d.radiusCm}) {
            j.String(cell);
        }
        j.EndArray().EndObject();
    }
    return j.EndArray().text();
}

// Outputs go to the page as bytes: a string would lose the byte order mark
// that --bom writes, as every UTF-8 decoder drops a leading one by default.
struct CliResult {
    int status = 0;
    emscripten::val out = emscripten::val::undefined();  // Uint8Array
    emscripten::val err = emscripten::val::undefined();  // Uint8Array
};

emscripten::val Bytes(const std::string& text) {
    // A copy: the view is of memory that is gone when the call returns.
    return emscripten::val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(text.size(),
                                            reinterpret_cast<const unsigned char*>(text.data())));
}

// veltrane-calc with args (without the program name), input as its
// standard input. Files it writes live in the module's memory only.
CliResult Cli(const std::vector<std::string>& args, const std::string& input) {
    const std::vector<std::string_view> views(args.begin(), args.end());
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = cli::RunCli(views, in, out, err);
    return {.status = status, .out = Bytes(out.str()), .err = Bytes(err.str())};
}

// The file a command wrote, removed as it is read; "" when there is none.
std::string TakeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    file.close();
    std::remove(path.c_str());
    return text;
}

}  // namespace

EMSCRIPTEN_BINDINGS(veltrane) {
    emscripten::register_vector<std::string>("StringVector");
    emscripten::value_object<CliResult>("CliResult")
        .field("status", &CliResult::status)
        .field("out", &CliResult::out)
        .field("err", &CliResult::err);
    emscripten::function("calculate", &Calculate);
    emscripten::function("designAids", &DesignAids);
    emscripten::function("drawing", &Drawing);
    emscripten::function("fit", &Fit);
    emscripten::function("rating", &Rating);
    emscripten::function("catalogue", &Catalogue);
    emscripten::function("cli", &Cli);
    emscripten::function("takeFile", &TakeFile);
}

}  // namespace veltrane::web
