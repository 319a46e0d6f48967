// SPDX-License-Identifier: GPL-3.0-or-later
// What the web page calls: one entry, request(op, args), for every operation
// the page has (see Request below). args is a plain JavaScript object read
// through embind's val: texts as the user typed them, the size's index as a
// number, and a chosen file as its bytes (a Uint8Array), so that a file
// reaches views::DecodeInput as it lies on disk; a JSON string could carry
// those bytes only re-encoded. The answer is JSON text, parsed once by the
// page; the exactness test reads the very same text. Nothing goes through
// veltrane-calc's command line: its English and its exit codes are the
// command line's, and every word the page shows comes from views in Chinese.
// User texts stay text throughout.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "canal/water_surface.h"
#include "cli/batch_table.h"
#include "cli/canal_rows.h"
#include "cli/csv.h"
#include "cli/json_writer.h"
#include "cli/profile_command.h"
#include "cli/profile_conditions.h"
#include "cli/profile_csv.h"
#include "cli/profile_rows.h"
#include "cli/section_catalogue_file.h"
#include "hydraulics/calculation_run.h"
#include "hydraulics/design_aids.h"
#include "hydraulics/flow_extras.h"
#include "hydraulics/section_catalogue.h"
#include "hydraulics/section_dimensions.h"
#include "sheet/fit_view.h"
#include "sheet/html_writer.h"
#include "sheet/profile_sheet.h"
#include "sheet/profile_svg.h"
#include "sheet/rating_svg.h"
#include "sheet/section_svg.h"
#include "sheet/selection_sheet.h"
#include "sheet/sheet_builder.h"
#include "views/batch_problems.h"
#include "views/batch_table_text.h"
#include "views/calculation_layout.h"
#include "views/criteria.h"
#include "views/dates.h"
#include "views/design_aid_text.h"
#include "views/fonts.h"
#include "views/input_encoding.h"
#include "views/page_requests.h"
#include "views/profile_view.h"
#include "views/profile_words.h"
#include "views/section_words.h"
#include "views/sheet_fields.h"

namespace veltrane::web {

namespace {

using cli::JsonWriter;
using emscripten::val;

constexpr InputBox kBoxes[] = {InputBox::Text2, InputBox::Text4, InputBox::text6, InputBox::Text7};

// The reach's details, by the keys the page sends them under.
// Each title-block and signature field of views::kSheetFields, in the details.
constexpr std::pair<std::string_view, std::string sheet::ReachDetails::*> kReachFields[] = {
    {"project", &sheet::ReachDetails::project},
    {"unit", &sheet::ReachDetails::unit},
    {"stage", &sheet::ReachDetails::stage},
    {"number", &sheet::ReachDetails::number},
    {"channel", &sheet::ReachDetails::channel},
    {"station", &sheet::ReachDetails::station},
    {"designer", &sheet::ReachDetails::designer},
    {"date", &sheet::ReachDetails::date},
    {"checker", &sheet::ReachDetails::checker},
    {"checkDate", &sheet::ReachDetails::checkDate},
    {"approver", &sheet::ReachDetails::approver},
    {"approveDate", &sheet::ReachDetails::approveDate},
};
static_assert(std::size(kReachFields) == views::kSheetFields.size());

// The four boxes' texts, kept while a run reads them through views.
struct BoxTexts {
    std::string discharge{};
    std::string slope{};
    std::string roughness{};
    std::string factor{};

    CalculationInputs inputs() const { return {discharge, slope, roughness, factor}; }
};

// The page's arguments. A missing text reads as "" (an empty box); a value
// of another kind than text is noted, and the request then refused as a
// whole, so that no number or object is ever taken for what it is not.
class Args {
  public:
    explicit Args(val args) : args_(std::move(args)) {}

    bool wrongKind() const { return wrongKind_; }

    // args[key], or args[group][key].
    std::string Text(std::string_view key) { return TextOf(Member(args_, key)); }
    std::string Text(std::string_view group, std::string_view key) {
        return TextOf(Member(Member(args_, group), key));
    }

    BoxTexts Boxes() {
        return {.discharge = Text("boxes", InputBoxName(InputBox::Text2)),
                .slope = Text("boxes", InputBoxName(InputBox::Text4)),
                .roughness = Text("boxes", InputBoxName(InputBox::text6)),
                .factor = Text("boxes", InputBoxName(InputBox::Text7))};
    }

    views::CriteriaTexts Criteria() {
        views::CriteriaTexts texts;
        for (const views::CriterionFieldInfo& info : views::kCriterionFields) {
            texts[static_cast<std::size_t>(info.field)] = Text("criteria", info.key);
        }
        return texts;
    }

    sheet::ReachDetails Reach() {
        sheet::ReachDetails r;
        for (const auto& [key, field] : kReachFields) {
            r.*field = Text("reach", key);
        }
        if (r.date.empty()) {
            r.date = views::Today();
        }
        return r;
    }

    // reach.basis: one line each, trimmed, blank lines skipped.
    std::vector<std::string> Basis() {
        std::vector<std::string> lines;
        const std::string text = Text("reach", "basis");
        std::string::size_type from = 0;
        while (from <= text.size()) {
            auto end = text.find('\n', from);
            if (end == std::string::npos) {
                end = text.size();
            }
            std::string line = text.substr(from, end - from);
            const auto first = line.find_first_not_of(" \t\r");
            if (first != std::string::npos) {
                lines.push_back(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
            }
            from = end + 1;
        }
        return lines;
    }

    // sources[criterion key]: where each criterion comes from.
    sheet::CriteriaSources Sources() {
        return {.minFreeboard = Text("sources", "min-freeboard"),
                .minVelocity = Text("sources", "min-velocity"),
                .maxVelocity = Text("sources", "max-velocity")};
    }

    // args.size: 0 … 4 for U60 … U140. Anything else (5, -1, 2.5, "1", none)
    // is refused rather than taken for some size, so that a page out of step
    // with the module shows the wrong size nowhere. The index as text for the
    // refusal goes to echo.
    const USection* Section(std::string& echo) {
        const val size = Member(args_, "size");
        if (size.isNumber()) {
            const double i = size.as<double>();
            if (i >= 0 && i < kSectionCount && std::floor(i) == i) {
                return &SectionCatalogue[static_cast<std::size_t>(i)];
            }
        }
        echo = size.isUndefined() ? std::string() : val::global("String")(size).as<std::string>();
        return nullptr;
    }

    // args[key] as a number; NaN for anything else.
    double Number(std::string_view key) {
        const val v = Member(args_, key);
        return v.isNumber() ? v.as<double>() : std::nan("");
    }

    // args[key] where it is a function; undefined otherwise.
    val Function(std::string_view key) {
        const val v = Member(args_, key);
        return v.typeOf().as<std::string>() == "function" ? v : val::undefined();
    }

    // args[key] as a file's bytes (a Uint8Array), or nothing.
    std::optional<std::string> Bytes(std::string_view key) {
        const val bytes = Member(args_, key);
        if (!bytes.instanceof (val::global("Uint8Array"))) {
            return std::nullopt;
        }
        std::string out(bytes["length"].as<std::size_t>(), '\0');
        // Copied straight into the string's memory; nothing allocates between
        // making the view and filling it, so the view stays valid.
        val(emscripten::typed_memory_view(out.size(), reinterpret_cast<unsigned char*>(out.data())))
            .call<void>("set", bytes);
        return out;
    }

    // args[key] as a reach table: an array of rows, each an array of up to
    // nine texts in the order of views::kProfileColumns (missing cells are
    // empty). Anything else is the wrong kind; nothing for no such member.
    std::optional<std::vector<cli::ProfileCells>> Rows(std::string_view key) {
        return Table<cli::ProfileCells>(key);
    }

    // args[key] as a section table: rows of up to six texts in the order of
    // views::kSectionColumns. No such member is an empty table, the standard
    // five alone; anything else is the wrong kind.
    std::vector<cli::SectionCells> SectionRows(std::string_view key) {
        if (Member(args_, key).isUndefined()) {
            return {};
        }
        return Table<cli::SectionCells>(key).value_or(std::vector<cli::SectionCells>());
    }

  private:
    template <class Cells>
    std::optional<std::vector<Cells>> Table(std::string_view key) {
        const val rows = Member(args_, key);
        if (rows.isUndefined()) {
            return std::nullopt;
        }
        const val isArray = val::global("Array")["isArray"];
        if (!isArray(rows).as<bool>() || rows["length"].as<double>() > kMostTableRows) {
            wrongKind_ = true;
            return std::nullopt;
        }
        std::vector<Cells> out(rows["length"].as<std::size_t>());
        for (std::size_t r = 0; r < out.size(); ++r) {
            const val row = rows[r];
            if (!isArray(row).as<bool>() || row["length"].as<std::size_t>() > out[r].size()) {
                wrongKind_ = true;
                return std::nullopt;
            }
            for (std::size_t c = 0; c < row["length"].as<std::size_t>(); ++c) {
                out[r][c] = TextOf(row[c]);
            }
        }
        return out;
    }

    // A reach table's rows at most: more than a canal file may hold.
    static constexpr double kMostTableRows = 1e6;

    static val Member(const val& object, std::string_view key) {
        if (object.isUndefined() || object.isNull() ||
            object.typeOf().as<std::string>() != "object") {
            return val::undefined();
        }
        return object[std::string(key)];
    }

    std::string TextOf(const val& v) {
        if (v.isString()) {
            return v.as<std::string>();
        }
        if (!v.isUndefined()) {
            wrongKind_ = true;
        }
        return {};
    }

    val args_;
    bool wrongKind_ = false;
};

std::string Refusal(std::string_view text) {
    JsonWriter j;
    return j.BeginObject().Member("refusal", text).EndObject().text();
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

void WriteTable(JsonWriter& j, const auto& headings, const auto& rows) {
    j.Key("headings").BeginArray();
    for (std::string_view h : headings) {
        j.String(h);
    }
    j.EndArray().Key("rows").BeginArray();
    for (const auto& row : rows) {
        j.BeginArray();
        for (std::string_view cell : row) {
            j.String(cell);
        }
        j.EndArray();
    }
    j.EndArray();
}

// The smallest label the page shows, in CSS px: a drawing is never shown
// narrower than makes its smallest label this high (on a phone it scrolls).
constexpr double kSmallestLabelPx = 10;

// "svg" and "readableWidth": the drawing, and the narrowest width in CSS px
// at which the page may show it.
void WriteDrawing(JsonWriter& j, const std::string& svg) {
    j.Member("svg", svg);
    j.Member("readableWidth", sheet::WidthForLabels(svg, kSmallestLabelPx));
}

bool AnyCriterion(const DesignCriteria& c) {
    return c.minFreeboard || c.minVelocity || c.maxVelocity;
}

// {"header": …, "report": …} or {"header": …, "message": {number, text, box,
// restores: [{box, text}], reportBoxText}}.
std::string Calculate(const USection& section, Args& a) {
    const BoxTexts boxes = a.Boxes();
    const CalculationOutcome o = RunCalculation(section, boxes.inputs());
    JsonWriter j;
    j.BeginObject().Member("header", o.header);
    if (o.isReport()) {
        j.Member("report", o.report().text);
    } else {
        WriteMessage(j, o.message());
    }
    return j.EndObject().text();
}

// {"message": …} for a rejected text, or {"svg", "readableWidth", "png":
// {width, height}}: the drawing of the run, also where a depth lies above
// the channel, and the size in pixels of its PNG as the program saves it.
// Every answer with a drawing gives its readableWidth (see WriteDrawing).
std::string Drawing(const USection& section, Args& a) {
    const BoxTexts boxes = a.Boxes();
    const CalculationInputs texts = boxes.inputs();
    const CalculationOutcome o = RunCalculation(section, texts);
    JsonWriter j;
    j.BeginObject();
    if (o.rejectsInputs()) {
        WriteMessage(j, o.message());
    } else {
        const std::string svg = sheet::RunDrawingSvg(section, texts, o);
        const sheet::PixelSize png = sheet::PngSize(svg);
        WriteDrawing(j, svg);
        j.Key("png").BeginObject();
        j.Member("width", static_cast<double>(png.width));
        j.Member("height", static_cast<double>(png.height));
        j.EndObject();
    }
    return j.EndObject().text();
}

// {"message": …} or {"headings", "rows", "csv", "svg"}; csv is the file the
// page offers for download, with a byte order mark for spreadsheets.
std::string Rating(const USection& section, Args& a) {
    const BoxTexts boxes = a.Boxes();
    const sheet::RatingView view = sheet::RatingViewFor(section, boxes.inputs());
    JsonWriter j;
    j.BeginObject();
    if (view.message) {
        WriteMessage(j, *view.message);
        return j.EndObject().text();
    }
    std::vector<std::array<std::string, sheet::kRatingHeadings.size()>> rows;
    for (const RatingRow& row : view.rows) {
        rows.push_back(sheet::RatingCells(section, row));
    }
    WriteTable(j, sheet::kRatingHeadings, rows);
    j.Member("csv", std::string(cli::kUtf8Bom) + sheet::RatingCsv(section, view.rows));
    WriteDrawing(j, view.svg);
    return j.EndObject().text();
}

// {"headings", "rows", "verdict", "svg", "note"?} as the program's 选型
// dialog shows it; {"message": …} for rejected texts.
std::string Fit(const DesignCriteria& criteria, const SectionSet& sections, Args& a) {
    const BoxTexts boxes = a.Boxes();
    const CalculationInputs texts = boxes.inputs();
    const std::vector<const USection*> order = sections.ByArea();
    const FitResult fit = FitSections(texts, criteria, order);
    JsonWriter j;
    j.BeginObject();
    if (fit.rejected) {
        WriteMessage(j, *fit.rejected);
        return j.EndObject().text();
    }
    std::vector<std::array<std::string, sheet::kFitHeadings.size()>> rows;
    for (const FitRow& row : fit.rows) {
        rows.push_back(sheet::FitCells(row));
    }
    WriteTable(j, sheet::kFitHeadings, rows);
    j.Member("verdict", sheet::FitVerdict(fit));
    WriteDrawing(j, sheet::FitDrawingSvg(fit, texts));
    if (AnyCriterion(criteria)) {
        j.Member("note", views::kFitUnderCriteria);
    }
    return j.EndObject().text();
}

// {"capacity": …, "slopes": …, "note"?}: the two design aids in words, as
// the program's dialog shows them.
std::string DesignAids(const USection& section, const DesignCriteria& criteria, Args& a) {
    const BoxTexts t = a.Boxes();
    JsonWriter j;
    j.BeginObject();
    j.Member("capacity", views::CapacityText(t.slope, FindCapacity(section, t.slope, t.roughness,
                                                                   t.factor, criteria)));
    j.Member("slopes", views::SlopeRangeText(
                           SolveSlope(section, t.discharge, t.roughness, t.factor, criteria)));
    if (AnyCriterion(criteria)) {
        j.Member("note", views::kAidsUnderCriteria);
    }
    return j.EndObject().text();
}

// {"headings", "rows", "svg", "note"?}: the selection table as the selection
// sheet prints it ("1/300", discharges in m³/s, "—" where none serves) and
// its chart; {"message": …} for a rejected roughness or factor.
std::string SelectTable(const std::vector<long>& slopes, const DesignCriteria& criteria,
                        const SectionSet& sections, Args& a) {
    const std::string roughness = a.Text("roughness");
    const std::string factor = a.Text("factor");
    const std::vector<const USection*> order = sections.ByArea();
    const std::vector<SelectionRow> rows =
        SelectionTable(slopes, roughness, factor, criteria, order);
    JsonWriter j;
    j.BeginObject();
    for (const CapacityResult& first : rows.front().sections) {
        if (first.rejected) {
            WriteMessage(j, *first.rejected);
            return j.EndObject().text();
        }
    }
    // The page's table is whole: it scrolls where a printed page cannot.
    std::vector<std::vector<std::string>> cells;
    for (const SelectionRow& row : rows) {
        cells.push_back(sheet::SelectionCells(row));
    }
    WriteTable(j, sheet::SelectionHeadings(rows), cells);
    WriteDrawing(j, sheet::SelectionChartSvg(rows, std::string(sheet::kSelectionChartTitle)));
    if (AnyCriterion(criteria)) {
        j.Member("note", views::kAidsUnderCriteria);
    }
    return j.EndObject().text();
}

// {"html": …}: one reach's calculation sheet, as veltrane-calc sheet --html
// writes it.
std::string Sheet(const USection& section, const DesignCriteria& criteria, Args& a) {
    const BoxTexts t = a.Boxes();
    const sheet::SheetRequest request{.section = StandardRef(*section.standard),
                                      .discharge = t.discharge,
                                      .slope = t.slope,
                                      .roughness = t.roughness,
                                      .factor = t.factor,
                                      .reach = a.Reach(),
                                      .criteria = criteria,
                                      .sources = a.Sources(),
                                      .basis = a.Basis()};
    JsonWriter j;
    return j.BeginObject()
        .Member("html", sheet::WriteHtml(sheet::BuildSheet(request)))
        .EndObject()
        .text();
}

// "profile": the water surface panel's words, as the program's dialog has
// them; its reach table's columns (key and heading); the station table's
// headings; the flows' names.
// The catalogue form's words and its table's columns.
void WriteSectionWords(JsonWriter& j) {
    const views::SectionFormWords& w = views::kSectionForm;
    j.Key("sectionForm").BeginObject();
    const std::pair<std::string_view, std::string_view> words[] = {
        {"title", w.title},
        {"intro", w.intro},
        {"table", w.table},
        {"add", w.add},
        {"remove", w.remove},
        {"importCsv", w.importCsv},
        {"exportCsv", w.exportCsv},
        {"check", w.check},
        {"none", w.none},
        {"countBefore", w.countBefore},
        {"countAfter", w.countAfter},
        {"file", w.file},
        {"units", w.units},
        {"computed", w.computed},
    };
    for (const auto& [key, text] : words) {
        j.Member(key, text);
    }
    j.Key("columns").BeginArray();
    for (const views::SectionColumnInfo& c : views::kSectionColumns) {
        j.BeginObject().Member("key", c.key).Member("heading", c.chinese).EndObject();
    }
    j.EndArray().EndObject();
}

void WriteProfileWords(JsonWriter& j) {
    const views::ProfileFormWords& w = views::kProfileForm;
    j.Key("profile").BeginObject();
    const std::pair<std::string_view, std::string_view> words[] = {
        {"title", w.title},
        {"reaches", w.reaches},
        {"reachTable", w.reachTable},
        {"add", w.add},
        {"remove", w.remove},
        {"up", w.up},
        {"down", w.down},
        {"importCsv", w.importCsv},
        {"exportReaches", w.exportReaches},
        {"factor", w.factor},
        {"end", w.end},
        {"level", w.level},
        {"spacing", w.spacing},
        {"minFreeboard", w.minFreeboard},
        {"noCheck", w.noCheck},
        {"compute", w.compute},
        {"drawing", w.drawing},
        {"html", w.html},
        {"csv", w.csv},
        {"svg", w.svg},
        {"reachesFile", w.reachesFile},
        {"sheetFile", w.sheetFile},
        {"stationsFile", w.stationsFile},
        {"drawingFile", w.drawingFile},
    };
    for (const auto& [key, text] : words) {
        j.Member(key, text);
    }
    // The downstream ends by the values profile takes.
    j.Key("ends").BeginArray();
    static constexpr std::string_view kEndValues[] = {"normal", "critical", "level"};
    for (std::size_t i = 0; i < w.ends.size(); ++i) {
        j.BeginObject().Member("value", kEndValues[i]).Member("label", w.ends[i]).EndObject();
    }
    j.EndArray().Key("columns").BeginArray();
    for (const views::ProfileColumnInfo& c : views::kProfileColumns) {
        j.BeginObject()
            .Member("key", c.key)
            .Member("heading", c.heading)
            .Member("required", c.required)
            .EndObject();
    }
    j.EndArray().Key("stationHeadings").BeginArray();
    for (std::string_view h : views::StationHeadings()) {
        j.String(h);
    }
    j.EndArray().EndObject();
}

// The five sections with everything the page shows differently for each:
// {"sizes": [{name, sizeLabel, reportHeader, defaults: {Text2, Text4, text6,
// Text7}, labels: {the same boxes: the caption beside each},
// dischargeMaxLength, factorTooltip ("" for none), reportEditable,
// escape ("back": Esc presses 返回; "exit": it presses 退出, which the page
// has not), firstFocus (the control the window focuses when it opens),
// dimensions: [name, depth, top width, slab, angle, radius]}],
// "criteria": [{key, label}]}: the criteria fields in their order;
// "batchHeadings": the batch table's column headings, for the page to show
// over the first rows while the rest are calculated.
std::string Catalogue() {
    JsonWriter j;
    j.BeginObject().Key("sizes").BeginArray();
    for (const USection& s : SectionCatalogue) {
        const SectionDimensions& d = s.dimensions;
        const CalculationLayout& layout = LayoutFor(*s.standard);
        j.BeginObject();
        j.Member("name", s.name);
        j.Member("sizeLabel", s.sizeLabel);
        j.Member("reportHeader", s.reportHeader);
        j.Key("defaults").BeginObject();
        for (const InputBox box : kBoxes) {
            j.Member(InputBoxName(box), DefaultText(s, box));
        }
        j.EndObject();
        j.Key("labels").BeginObject();
        for (std::size_t i = 0; i < std::size(kBoxes); ++i) {
            j.Member(InputBoxName(kBoxes[i]), layout.labels[i].caption);
        }
        j.EndObject();
        j.Member("dischargeMaxLength", static_cast<double>(layout.text2MaxLength));
        j.Member("factorTooltip", layout.text7Tooltip ? kFactorTooltip : "");
        j.Key("reportEditable").Bool(layout.reportEditable);
        j.Member("escape", layout.esc == EscRole::Back ? "back" : "exit");
        j.Member("firstFocus", layout.focusOrder[0]);
        j.Key("dimensions").BeginArray();
        for (std::string_view cell :
             {d.name, d.depthCm, d.topWidthCm, d.slabCm, d.angleDeg, d.radiusCm}) {
            j.String(cell);
        }
        j.EndArray().EndObject();
    }
    j.EndArray().Member("fontFamily", views::PageFontFamilyList("serif"));
    j.Key("criteria").BeginArray();
    for (const views::CriterionFieldInfo& info : views::kCriterionFields) {
        j.BeginObject().Member("key", info.key).Member("label", views::FieldLabel(info.field));
        if (info.cited) {
            j.Member("sourceLabel", std::string(info.label) + std::string(views::kSourceSuffix));
        }
        j.EndObject();
    }
    j.EndArray().Key("sheetFields").BeginArray();
    for (const views::SheetField& f : views::kSheetFields) {
        j.BeginObject().Member("key", f.key).Member("label", f.label).EndObject();
    }
    j.EndArray().Key("batchHeadings").BeginArray();
    for (std::string_view h : views::kBatchHeadings) {
        j.String(h);
    }
    j.EndArray().Key("basis").BeginObject();
    j.Member("label", views::kBasisLabel).Member("hint", views::kBasisHint);
    j.EndObject();
    WriteProfileWords(j);
    WriteSectionWords(j);
    return j.EndObject().text();
}

// The criteria texts read by the one rule; refusal is the Chinese text of
// every problem, "" when there is none.
DesignCriteria ReadCriteria(Args& a, std::string& refusal) {
    const views::CriteriaReading r = views::ReadCriteria(a.Criteria());
    if (!r.ok()) {
        refusal = views::ProblemsText(r.problems, views::Language::Chinese);
    }
    return r.criteria;
}

// A refusal for a sheet: what is wrong, and what its preview says instead.
std::string SheetRefusal(std::string_view text) {
    JsonWriter j;
    return j.BeginObject()
        .Member("refusal", text)
        .Member("instead", views::kNothingWhileRefused)
        .EndObject()
        .text();
}

// {"headings", "rows", "csv", "notice"}: a batch file calculated row by row.
// The table shows a bad row's problem in Chinese in the message column; csv
// is the download, veltrane-calc --batch --bom's file, for the scripts and
// spreadsheets that read it. notice is "" or that the file was read as
// GB18030.
std::string Batch(const views::DecodedInput& input, std::string_view name,
                  const SectionSet& sections) {
    const cli::BatchTable table = cli::RunBatchTable(input.text, sections);
    if (table.problem) {
        return Refusal(views::FileProblemText(*table.problem, views::Language::Chinese));
    }
    std::string csv(cli::kUtf8Bom);
    const auto appendRow = [&csv](const auto& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            csv += c == 0 ? "" : ",";
            cli::AppendCsvField(csv, cells[c], cli::CsvFor::Spreadsheets);
        }
        csv += '\n';
    };
    appendRow(cli::kBatchResultColumns);
    std::vector<std::vector<std::string>> shown;
    shown.reserve(table.rows.size());
    static_assert(views::kBatchHeadings.size() == cli::kBatchResultColumns.size());
    constexpr std::size_t kStatus = 5;
    static_assert(cli::kBatchResultColumns[kStatus] == "status");
    for (const cli::BatchResultRow& row : table.rows) {
        appendRow(row.cells);
        shown.push_back(row.cells);
        shown.back()[kStatus] = views::BatchStatusText(row.cells[kStatus]);
        if (row.problem) {
            shown.back().back() = views::RowProblemText(row.problem, views::Language::Chinese);
        }
    }
    JsonWriter j;
    j.BeginObject();
    WriteTable(j, views::kBatchHeadings, shown);
    j.Member("csv", csv);
    j.Member("notice", views::EncodingNotice(input, name, views::Language::Chinese));
    return j.EndObject().text();
}

// The batch in slices, for a page that shows rows while the rest are
// calculated (in a worker) and keeps them compactly: every slice rows (the
// last fewer), onSlice(slice) is called with
//   csv    the slice's lines of the download, as Batch's csv has them
//   cells  the shown cells' UTF-8, one after another (a Uint8Array)
//   ends   where each cell ends in cells, 16 a row (a Uint32Array)
//   count  the rows in the slice; line, lines: the file line reached and the
//          file's lines, for a progress bar.
// cells and ends look into the module's memory: onSlice copies them before
// it returns. The answer: {"headings", "csvHead" (the byte order mark and the
// header line), "notice", "rows"} or a refusal, as for Batch. Only one slice
// is held at a time, whatever the file's length.
std::string BatchStream(const views::DecodedInput& input, std::string_view name, std::size_t slice,
                        const val& onSlice, const SectionSet& sections) {
    std::string csv;
    std::string cells;
    std::vector<std::uint32_t> ends;
    std::size_t count = 0;
    std::size_t rows = 0;
    std::size_t line = 0;
    const auto lines =
        static_cast<double>(std::count(input.text.begin(), input.text.end(), '\n') +
                            (input.text.empty() || input.text.back() == '\n' ? 0 : 1));
    const auto flush = [&] {
        if (count == 0) {
            return;
        }
        val out = val::object();
        out.set("csv", csv);
        out.set("cells", val(emscripten::typed_memory_view(
                             cells.size(), reinterpret_cast<const unsigned char*>(cells.data()))));
        out.set("ends", val(emscripten::typed_memory_view(ends.size(), ends.data())));
        out.set("count", static_cast<double>(count));
        out.set("line", static_cast<double>(line));
        out.set("lines", lines);
        onSlice(out);
        csv.clear();
        cells.clear();
        ends.clear();
        count = 0;
    };
    constexpr std::size_t kStatus = 5;
    const std::optional<views::FileProblem> problem = cli::ReadBatchRows(
        input.text, {},
        [&](const cli::BatchRow& row) {
            std::vector<std::string> shown = cli::BatchResultCells(row);
            for (std::size_t c = 0; c < shown.size(); ++c) {
                csv += c == 0 ? "" : ",";
                cli::AppendCsvField(csv, shown[c], cli::CsvFor::Spreadsheets);
            }
            csv += '\n';
            shown[kStatus] = views::BatchStatusText(shown[kStatus]);
            if (row.problem) {
                shown.back() = views::RowProblemText(row.problem, views::Language::Chinese);
            }
            for (const std::string& cell : shown) {
                cells += cell;
                ends.push_back(static_cast<std::uint32_t>(cells.size()));
            }
            line = row.line;
            ++rows;
            if (++count == slice) {
                flush();
            }
            return true;
        },
        sections);
    if (problem) {
        return Refusal(views::FileProblemText(*problem, views::Language::Chinese));
    }
    flush();
    std::string head(cli::kUtf8Bom);
    for (std::size_t c = 0; c < cli::kBatchResultColumns.size(); ++c) {
        head += c == 0 ? "" : ",";
        cli::AppendCsvField(head, cli::kBatchResultColumns[c], cli::CsvFor::Spreadsheets);
    }
    head += '\n';
    JsonWriter j;
    j.BeginObject();
    j.Key("headings").BeginArray();
    for (std::string_view h : views::kBatchHeadings) {
        j.String(h);
    }
    j.EndArray();
    j.Member("csvHead", head);
    j.Member("notice", views::EncodingNotice(input, name, views::Language::Chinese));
    j.Member("rows", static_cast<double>(rows));
    return j.EndObject().text();
}

// {"html", "notice"}: the canal sheet of a batch file, as veltrane-calc
// sheet --batch --html writes it.
std::string Canal(const views::DecodedInput& input, std::string_view name,
                  const DesignCriteria& criteria, const SectionSet& sections, Args& a) {
    cli::CanalReading reading = cli::ReadCanalRows(input.text, a.Reach(), criteria, sections);
    for (sheet::CanalRow& row : reading.rows) {
        row.request.sources = a.Sources();
        row.request.basis = a.Basis();
    }
    if (reading.problem) {
        return Refusal(views::FileProblemText(*reading.problem, views::Language::Chinese));
    }
    JsonWriter j;
    return j.BeginObject()
        .Member("html", sheet::WriteHtml(sheet::BuildCanal(reading.rows)))
        .Member("notice", views::EncodingNotice(input, name, views::Language::Chinese))
        .EndObject()
        .text();
}

// The station tables for the page as the program shows them: per flow its
// name and the rows' cells, and which rows overtop.
void WriteStationTables(JsonWriter& j, const canal::CanalRequest& request,
                        const canal::CanalProfile& profile) {
    j.Key("stations").BeginArray();
    for (const canal::FlowProfile& flow : profile.flows) {
        j.BeginObject().Member("flow", views::FlowName(flow.kind, views::Language::Chinese));
        j.Key("rows").BeginArray();
        for (const canal::Station& s : flow.stations) {
            j.BeginArray();
            for (const std::string& cell : views::StationCells(request, s)) {
                j.String(cell);
            }
            j.EndArray();
        }
        j.EndArray().Key("overtops").BeginArray();
        for (std::size_t i = 0; i < flow.stations.size(); ++i) {
            if (flow.stations[i].freeboard < 0) {
                j.Number(static_cast<double>(i));
            }
        }
        j.EndArray().EndObject();
    }
    j.EndArray().Key("checks").BeginArray();
    for (const std::string& line : views::CheckLines(request, profile)) {
        j.String(line);
    }
    j.EndArray();
}

// The water surface of a canal file or of the panel's reach table: the
// profile as veltrane-calc profile --json gives it, the station tables and
// checks as the program shows them, its drawing, its sheet and its CSV; or
// every problem of the reaches and the conditions, one per line. notice is
// the file's encoding notice ("" for a table).
std::string Profile(const cli::ProfileReading& reading, const std::string& notice, Args& a) {
    std::string said;
    const auto say = [&said](std::string_view line) {
        said += said.empty() ? "" : "\n";
        said += line;
    };
    for (const views::ProfileProblem& p : reading.problems) {
        say(views::ProfileProblemText(p, views::Language::Chinese));
    }
    canal::CanalRequest request;
    request.reaches = reading.reaches;
    // An empty text is "not given" here: the defaults.
    const auto given = [](const std::string& text) {
        return text.empty() ? std::nullopt : std::optional<std::string_view>(text);
    };
    const std::string factor = a.Text("factor"), end = a.Text("end"), spacing = a.Text("spacing");
    // end "level" takes the level's text as typed: an empty one is refused,
    // never read as the default end.
    const std::string level = a.Text("level");
    const std::string least = a.Text("criteria", "min-freeboard");
    std::vector<views::ConditionProblem> refused = cli::ReadConditionTexts(
        {.factor = given(factor),
         .end = end == "level" ? std::optional<std::string_view>(level) : given(end),
         .spacing = given(spacing),
         .minFreeboard = least},
        request);
    if (said.empty() && refused.empty()) {
        if (auto tooMany = cli::TooManyStations(request, given(spacing))) {
            refused.push_back(*std::move(tooMany));
        }
    }
    for (const views::ConditionProblem& p : refused) {
        say(views::ConditionProblemText(p, views::Language::Chinese));
    }
    if (!said.empty()) {
        return Refusal(said);
    }
    const canal::CanalProfile profile = canal::ComputeProfile(request);
    const sheet::Document doc = sheet::BuildProfileSheet(
        {.canal = request, .details = a.Reach(), .basis = a.Basis()}, profile);
    JsonWriter j;
    j.BeginObject();
    j.Key("profile").Raw(cli::ProfileJson(request, profile));
    WriteStationTables(j, request, profile);
    WriteDrawing(j, sheet::LongitudinalProfileSvg(request, profile));
    return j.Member("html", sheet::WriteHtml(doc))
        .Member("csv", std::string(cli::kUtf8Bom) + cli::ProfileCsv(request, profile,
                                                                    views::Language::Chinese,
                                                                    cli::CsvFor::Spreadsheets))
        .Member("notice", notice)
        .EndObject()
        .text();
}

// A canal file's reaches for the panel's table, each cell as the file
// writes it; or the file's problems, one per line.
std::string ProfileRows(const views::DecodedInput& input, std::string_view name,
                        const SectionSet& sections) {
    const cli::ProfileReading reading = cli::ReadProfileRows(input.text, sections);
    if (!reading.ok()) {
        std::string said;
        for (const views::ProfileProblem& p : reading.problems) {
            said +=
                (said.empty() ? "" : "\n") + views::ProfileProblemText(p, views::Language::Chinese);
        }
        return Refusal(said);
    }
    JsonWriter j;
    j.BeginObject().Key("rows").BeginArray();
    for (const cli::ProfileCells& cells : reading.cells) {
        j.BeginArray();
        for (const std::string& cell : cells) {
            j.String(cell);
        }
        j.EndArray();
    }
    return j.EndArray()
        .Member("notice", views::EncodingNotice(input, name, views::Language::Chinese))
        .EndObject()
        .text();
}

// The page's section table as a set beside the standard five; or nothing,
// and refusal says each problem, a line each, after the form's lead.
std::optional<SectionSet> SectionsOf(Args& a, std::string& refusal) {
    const cli::CatalogueReading reading = cli::ReadSectionTable(a.SectionRows("sections"));
    if (reading.problems.empty()) {
        return reading.sections;
    }
    refusal = std::string(views::kSectionForm.problemsLead);
    for (const views::SectionProblem& p : reading.problems) {
        refusal += "\n" + views::SectionProblemText(p, views::Language::Chinese);
    }
    return std::nullopt;
}

// {"sections": [{name, sizeLabel, dimensions: [depth, top width, slab,
// angle, radius] (cm and degrees, as the dimension table; slab "" where not
// given), topComputed}]}: the table's sections as the page lists them.
std::string Sections(const SectionSet& sections) {
    JsonWriter j;
    j.BeginObject().Key("sections").BeginArray();
    for (const USection* s : sections.All()) {
        if (!s->userDefined) {
            continue;
        }
        const SectionDimensions& d = s->dimensions;
        j.BeginObject().Member("name", s->name).Member("sizeLabel", s->sizeLabel);
        j.Key("dimensions").BeginArray();
        for (std::string_view cell : {d.depthCm, d.topWidthCm, d.slabCm, d.angleDeg, d.radiusCm}) {
            j.String(cell);
        }
        j.EndArray().Key("topComputed").Bool(s->topWidthComputed).EndObject();
    }
    return j.EndArray().EndObject().text();
}

// A catalogue file's rows for the form's table, each cell as the file
// writes it; or the file's problems, one per line.
std::string SectionRowsOf(const views::DecodedInput& input, std::string_view name) {
    const cli::CatalogueCells cells = cli::ReadSectionCells(input.text);
    std::string said;
    for (const views::SectionProblem& p : cells.problems) {
        said += (said.empty() ? "" : "\n") + views::SectionProblemText(p, views::Language::Chinese);
    }
    if (!said.empty()) {
        return Refusal(said);
    }
    JsonWriter j;
    j.BeginObject().Key("rows").BeginArray();
    for (const cli::SectionCells& row : cells.rows) {
        j.BeginArray();
        for (const std::string& cell : row) {
            j.String(cell);
        }
        j.EndArray();
    }
    return j.EndArray()
        .Member("notice", views::EncodingNotice(input, name, views::Language::Chinese))
        .EndObject()
        .text();
}

}  // namespace

// Operations and their args (texts unless said):
//   catalogue     –
//   calculate, drawing, rating
//                 size (number 0 … 4), boxes {Text2, Text4, text6, Text7}
//   fit           boxes, criteria {min-freeboard, min-velocity, max-velocity}
//   designAids    size, boxes, criteria
//   criteria      criteria: {} when they can be read, else as sheet refuses
//   sheet         size, boxes, criteria, reach {project, channel, station,
//                 designer, date ("" for today)}
//   selectTable   roughness, factor, slopes ("300,500,1000"), criteria
//   batch         bytes (Uint8Array: the file as it lies on disk), name
//   batchStream   bytes, name, slice (rows a slice, 1 … 10⁶), onSlice (a
//                 function called with each slice; see BatchStream)
//   canal         bytes, name, reach, criteria
//   profile       bytes and name, or rows (a reach table: arrays of texts
//                 by the canal file's columns); factor, end ("normal",
//                 "critical", a water level, or "level" with level: the
//                 level's text), spacing (m; "" for the defaults), criteria
//                 {min-freeboard}, reach
//   profileRows   bytes, name: a canal file as a reach table
//   reachesCsv    rows: a reach table as a canal file (UTF-8, with a BOM)
//   sections      sections: the user's section table (arrays of texts by
//                 the catalogue file's columns), read as veltrane-calc's
//                 --catalogue reads a file
//   sectionRows   bytes, name: a catalogue file as a section table
//   sectionsCsv   sections: a section table as a catalogue file (with a BOM)
// fit, selectTable, batch, batchStream, canal, profile and profileRows also
// take sections; a table with any problem refuses the request.
// Any of them may answer {"refusal": Chinese text} instead of its result;
// for refused criteria, sheet, canal and criteria add {"instead": the text a
// preview shows meanwhile}.
std::string Request(const std::string& op, val args) {
    Args a(std::move(args));
    std::string answer;
    std::string criteriaRefusal;
    std::string sizeEcho;
    // The user's sections, for the requests that run over every section or
    // read a size column.
    std::string sectionRefusal;
    const auto sections = [&]() { return SectionsOf(a, sectionRefusal); };
    if (op == "catalogue") {
        answer = Catalogue();
    } else if (op == "criteria") {
        ReadCriteria(a, criteriaRefusal);
        answer = criteriaRefusal.empty() ? "{}" : SheetRefusal(criteriaRefusal);
    } else if (op == "fit") {
        const DesignCriteria c = ReadCriteria(a, criteriaRefusal);
        const auto set = sections();
        answer = !criteriaRefusal.empty() ? Refusal(criteriaRefusal)
                 : !set                   ? Refusal(sectionRefusal)
                                          : Fit(c, *set, a);
    } else if (op == "selectTable") {
        const std::string slopesText = a.Text("slopes");
        const auto slopes = views::ReadSlopeList(slopesText);
        const DesignCriteria c = ReadCriteria(a, criteriaRefusal);
        const auto set = sections();
        if (!criteriaRefusal.empty()) {
            answer = Refusal(criteriaRefusal);
        } else if (!slopes) {
            answer = Refusal(views::SlopeListProblemText(slopesText));
        } else if (!set) {
            answer = Refusal(sectionRefusal);
        } else {
            answer = SelectTable(*slopes, c, *set, a);
        }
    } else if (op == "batchStream") {
        const std::optional<std::string> bytes = a.Bytes("bytes");
        const std::string name = a.Text("name");
        const double slice = a.Number("slice");
        const val onSlice = a.Function("onSlice");
        const auto set = sections();
        if (!bytes) {
            answer = Refusal(views::kFileNotBytes);
        } else if (!(slice >= 1 && slice <= 1e6) || onSlice.isUndefined()) {
            answer = Refusal(views::kArgumentNotText);
        } else if (!set) {
            answer = Refusal(sectionRefusal);
        } else {
            answer = BatchStream(views::DecodeInput(*bytes), name, static_cast<std::size_t>(slice),
                                 onSlice, *set);
        }
    } else if (op == "batch" || op == "canal") {
        const std::optional<std::string> bytes = a.Bytes("bytes");
        const std::string name = a.Text("name");
        const DesignCriteria c = ReadCriteria(a, criteriaRefusal);
        const auto set = sections();
        if (!bytes) {
            answer = Refusal(views::kFileNotBytes);
        } else if (!set) {
            answer = op == "batch" ? Refusal(sectionRefusal) : SheetRefusal(sectionRefusal);
        } else if (op == "batch") {
            answer = Batch(views::DecodeInput(*bytes), name, *set);
        } else if (!criteriaRefusal.empty()) {
            answer = SheetRefusal(criteriaRefusal);
        } else {
            answer = Canal(views::DecodeInput(*bytes), name, c, *set, a);
        }
    } else if (op == "profile") {
        const std::optional<std::string> bytes = a.Bytes("bytes");
        const auto set = sections();
        if (!set) {
            answer = Refusal(sectionRefusal);
        } else if (const auto rows = a.Rows("rows")) {
            answer = Profile(cli::ReadProfileTable(*rows, *set), "", a);
        } else if (bytes) {
            const views::DecodedInput input = views::DecodeInput(*bytes);
            answer =
                Profile(cli::ReadProfileRows(input.text, *set),
                        views::EncodingNotice(input, a.Text("name"), views::Language::Chinese), a);
        } else {
            answer = Refusal(views::kFileNotBytes);
        }
    } else if (op == "profileRows") {
        const std::optional<std::string> bytes = a.Bytes("bytes");
        const auto set = sections();
        answer = !bytes ? Refusal(views::kFileNotBytes)
                 : !set ? Refusal(sectionRefusal)
                        : ProfileRows(views::DecodeInput(*bytes), a.Text("name"), *set);
    } else if (op == "sections") {
        const auto set = sections();
        answer = set ? Sections(*set) : Refusal(sectionRefusal);
    } else if (op == "sectionRows") {
        const std::optional<std::string> bytes = a.Bytes("bytes");
        answer = bytes ? SectionRowsOf(views::DecodeInput(*bytes), a.Text("name"))
                       : Refusal(views::kFileNotBytes);
    } else if (op == "sectionsCsv") {
        answer = JsonWriter()
                     .BeginObject()
                     .Member("csv", std::string(cli::kUtf8Bom) +
                                        cli::WriteSectionCatalogue(a.SectionRows("sections")))
                     .EndObject()
                     .text();
    } else if (op == "reachesCsv") {
        const auto rows = a.Rows("rows");
        answer = rows
                     ? JsonWriter()
                           .BeginObject()
                           .Member("csv", std::string(cli::kUtf8Bom) + cli::WriteProfileRows(*rows))
                           .EndObject()
                           .text()
                     : Refusal(views::kArgumentNotText);
    } else if (op == "calculate" || op == "drawing" || op == "rating" || op == "designAids" ||
               op == "sheet") {
        const USection* section = a.Section(sizeEcho);
        const DesignCriteria c = ReadCriteria(a, criteriaRefusal);
        if (section == nullptr) {
            answer = Refusal(views::SizeIndexProblemText(sizeEcho));
        } else if (op == "calculate") {
            answer = Calculate(*section, a);
        } else if (op == "drawing") {
            answer = Drawing(*section, a);
        } else if (op == "rating") {
            answer = Rating(*section, a);
        } else if (!criteriaRefusal.empty()) {
            answer = op == "sheet" ? SheetRefusal(criteriaRefusal) : Refusal(criteriaRefusal);
        } else if (op == "designAids") {
            answer = DesignAids(*section, c, a);
        } else {
            answer = Sheet(*section, c, a);
        }
    } else {
        return Refusal(views::kNoSuchOperation);
    }
    if (a.wrongKind()) {
        return Refusal(views::kArgumentNotText);
    }
    return answer;
}

EMSCRIPTEN_BINDINGS(veltrane) {
    emscripten::function("request", &Request);
}

}  // namespace veltrane::web
