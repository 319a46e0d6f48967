// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/command_line.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

#include "views/criteria.h"

namespace veltrane::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: veltrane-calc [--json] [--svg FILE] [--dxf FILE] [--force]\n"
    "                     SIZE DISCHARGE SLOPE ROUGHNESS FACTOR\n"
    "       veltrane-calc --batch FILE [--bom]\n"
    "       veltrane-calc fit DISCHARGE SLOPE ROUGHNESS FACTOR [CRITERIA]\n"
    "                     [--json | --csv [--bom]] [--svg FILE] [--dxf FILE]\n"
    "                     [--force]\n"
    "       veltrane-calc table SIZE SLOPE ROUGHNESS [--step S]\n"
    "                     [--json | --csv [--bom]]\n"
    "       veltrane-calc sheet SIZE DISCHARGE SLOPE ROUGHNESS FACTOR\n"
    "                     [REACH] [CRITERIA]\n"
    "                     (--html FILE | --pdf FILE | --docx FILE) [--force]\n"
    "       veltrane-calc sheet --batch FILE [REACH] [CRITERIA]\n"
    "                     (--html FILE | --pdf FILE | --docx FILE) [--force]\n"
    "       veltrane-calc capacity SIZE SLOPE ROUGHNESS FACTOR [CRITERIA] [--json]\n"
    "       veltrane-calc solve-slope SIZE DISCHARGE ROUGHNESS FACTOR [CRITERIA]\n"
    "                     [--json]\n"
    "       veltrane-calc select-table ROUGHNESS FACTOR --slopes LIST [CRITERIA]\n"
    "                     [--json | --csv [--bom]] [--svg FILE]\n"
    "                     [--html FILE | --pdf FILE | --docx FILE] [--force]\n"
    "       veltrane-calc profile FILE [--factor K] [--end normal|critical|LEVEL]\n"
    "                     [--spacing M] [--min-freeboard M]\n"
    "                     [--json | --csv [--bom]] [--svg FILE] [--dxf FILE]\n"
    "                     [--html FILE | --pdf FILE | --docx FILE] [REACH] [--force]\n"
    "       veltrane-calc -h | --help | --version\n"
    "       (every command also takes --catalogue FILE)\n";

// At most 79 columns a line, so that it reads in an 80-column terminal.
constexpr std::string_view kHelp =
    "Uniform-flow depth of a standard precast U-channel, as the Veltrane window\n"
    "reports it.\n"
    "\n"
    "  SIZE       U60, U80, U100, U120 or U140 (D60 ... D140 too, any case), a\n"
    "             section of the --catalogue, or one given by its dimensions:\n"
    "             U:r=0.45,alpha=8,H=0.6 (r and H in m, alpha in degrees from\n"
    "             the vertical; thickness= and top= in cm and name= may follow)\n"
    "  DISCHARGE  design discharge Q, m3/s\n"
    "  SLOPE      x of the bed slope 1/x\n"
    "  ROUGHNESS  Manning's roughness n\n"
    "  FACTOR     increase factor k of the check discharge, 1 to 2\n"
    "\n"
    "The values are texts read as the window reads its boxes. Options may stand\n"
    "before, between or after them. An argument that starts with \"--\", or with\n"
    "\"-\" and a letter, is an option; \"-5\" and \"\" are values. \"--\" ends the\n"
    "options: every argument after it is a value. An option's value may follow\n"
    "it or be attached: --svg out.svg or --svg=out.svg.\n"
    "\n"
    "A FILE to write is never replaced without --force and never written through\n"
    "a link. FILE \"-\" is standard output: that file goes there in place of the\n"
    "command's text, JSON or CSV. The --batch FILE \"-\" is standard input.\n"
    "\n"
    "  --json        write JSON instead of text; a single calculation adds\n"
    "                hydraulic extras: Froude number and regime, critical depth,\n"
    "                freeboard, capacity (the fields: veltrane-calc(1))\n"
    "  --csv         fit, table and select-table: write CSV instead of text\n"
    "  --bom         start CSV output (--csv, --batch) with a UTF-8 byte order\n"
    "                mark, for spreadsheets that would not read the Chinese texts\n"
    "                without it; a text cell that starts with = + - @ is then\n"
    "                written with a ' before it, so that it is not a formula\n"
    "  --svg FILE    also draw the cross-section to scale into FILE (SVG)\n"
    "  --dxf FILE    also write that drawing for CAD (DXF, metres at 1:1)\n"
    "  --force       with an output FILE: replace FILE if it exists\n"
    "  --catalogue FILE  the user's sections, CSV with the header\n"
    "                name,r,alpha,H,thickness,top (r and H in m, alpha in\n"
    "                degrees, thickness and top in cm and optional); a SIZE, a\n"
    "                batch or canal file's size column, fit and select-table\n"
    "                then know them too. Every bad row is named and nothing runs\n"
    "  --batch FILE  one calculation per row of a CSV file with the columns\n"
    "                size,discharge,slope,roughness,factor; the results go to\n"
    "                standard output as CSV. With sheet, one document for the\n"
    "                whole file; the optional columns name, station and project\n"
    "                describe each reach\n"
    "  --step S      table: the depth step in metres, 0.0001 up to the channel\n"
    "                depth (default 0.01)\n"
    "  --html FILE   sheet, profile: write the calculation sheet as one HTML page\n"
    "  --pdf FILE    sheet, profile: write the calculation sheet as a PDF on A4\n"
    "  --docx FILE   sheet, profile: write the calculation sheet for Word\n"
    "  --slopes LIST select-table: the slope denominators, comma-separated:\n"
    "                300,500,1000\n"
    "  --factor K    profile: k of the increased discharge kQ, 1 to 2 (default 1)\n"
    "  --end E       profile, sheet --batch: the downstream end: normal (uniform\n"
    "                flow in the last reach, the default), critical (a free\n"
    "                overfall), or a water level in metres (critical depth where\n"
    "                it lies lower)\n"
    "  --spacing M   profile, sheet --batch: metres between stations, counted\n"
    "                from the canal's head (default 100, the hundred-metre stakes).\n"
    "                A canal file with a length column gives sheet --batch a\n"
    "                chapter on the water surface after the reaches\n"
    "  -h, --help    show this text\n"
    "  --version     show the version\n"
    "\n"
    "  REACH (sheet and profile), each text printed as typed:\n"
    "  --project P   the project          --channel C   the channel's name\n"
    "  --station S   the chainage         --designer D  who computed it\n"
    "  --date D      the date (default: today)\n"
    "  --unit U      the design institute      --stage S      the design stage\n"
    "  --number N    the sheet's number        --checker C    who checked it\n"
    "  --check-date D, --approver A, --approve-date D   the other signatures\n"
    "  --basis TEXT  a line of 计算依据 (a standard and its clause); repeat\n"
    "                for more\n"
    "  --min-freeboard-source TEXT, --min-velocity-source TEXT,\n"
    "  --max-velocity-source TEXT   where each criterion comes from\n"
    "\n"
    "  CRITERIA (fit, sheet and the design aids), none by default:\n"
    "  --min-freeboard M  the smallest freeboard H - h1, m\n"
    "  --min-velocity V   the lowest permitted velocity at the smallest flow, m/s\n"
    "  --max-velocity V   the highest permitted velocity at kQ, m/s\n"
    "  --min-discharge Q  the smallest flow, m3/s, where the lowest velocity is\n"
    "                     checked\n"
    "\n"
    "  fit        the calculation for all five sections and the catalogue's,\n"
    "             smallest area first, and the smallest that carries both\n"
    "             discharges and meets the criteria; exit 0 when one fits, 1\n"
    "             when none does\n"
    "  table      the rating table of a section from S up to its channel depth\n"
    "  sheet      the calculation sheet: known data, method, working, results,\n"
    "             checks, conclusion, drawing and signature lines\n"
    "  capacity   the largest design discharge, to 0.0001 m3/s, that the\n"
    "             section carries at the slope with both depths within H and\n"
    "             the criteria met, with its design and check depths; exit 1\n"
    "             when none does\n"
    "  solve-slope  the steepest and the flattest whole x of the slope 1/x\n"
    "             that carry the discharge and its increase and meet the\n"
    "             criteria, searched from 1/10 to 1/100000, with the report at\n"
    "             each end; exit 1 when none does\n"
    "  select-table  capacity for each section at each slope of --slopes\n"
    "             (whole x, at most 50 of them, each 1 to 1000000), as text,\n"
    "             CSV or JSON, an SVG chart (--svg) and a printable document\n"
    "             (--html, --pdf)\n"
    "  profile    the water surface along a canal (水面线) for Q and kQ by the\n"
    "             standard step method: FILE is CSV with a header naming\n"
    "             name,length,size,slope,roughness,discharge and optionally\n"
    "             bed,loss,level (or 渠段名称,长度,断面,纵坡,糙率,设计流量,\n"
    "             渠底高程,局部损失系数,要求水位), one reach per row from the\n"
    "             head down; stations, jumps and checks; exit 1 where the water\n"
    "             overtops, a freeboard is short or a turnout level is missed\n"
    "\n"
    "Exit status: 0 report; 1 message, or no section fits; 2 usage error,\n"
    "unreadable input, or an output FILE that exists; 3 an output could not be\n"
    "written.\n";

bool IsOption(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') {
        return false;
    }
    const char c = arg[1];
    return c == '-' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

using Command = CommandLine::Command;

// An option that takes the next argument as its value.
struct ValueOption {
    std::string_view name;
    std::string_view needs;  // "--svg needs …"
    std::optional<std::string> CommandLine::*text;
};

constexpr ValueOption kTextOptions[] = {
    {"--svg", "a FILE to draw into", &CommandLine::svg},
    {"--batch", "a FILE (\"-\" for standard input)", &CommandLine::batch},
    {"--catalogue", "a FILE of sections", &CommandLine::catalogue},
    {"--html", "a FILE to write the sheet into", &CommandLine::html},
    {"--pdf", "a FILE to write the sheet into", &CommandLine::pdf},
    {"--docx", "a FILE to write the sheet into", &CommandLine::docx},
    {"--dxf", "a FILE to draw into", &CommandLine::dxf},
    {"--project", "the project's name", &CommandLine::project},
    {"--channel", "the channel's name", &CommandLine::channel},
    {"--station", "the chainage, from–to", &CommandLine::station},
    {"--designer", "the designer's name", &CommandLine::designer},
    {"--date", "a date", &CommandLine::date},
    {"--unit", "the design institute's name", &CommandLine::unit},
    {"--stage", "the design stage", &CommandLine::stage},
    {"--number", "the sheet's number", &CommandLine::number},
    {"--checker", "the checker's name", &CommandLine::checker},
    {"--check-date", "a date", &CommandLine::checkDate},
    {"--approver", "the approver's name", &CommandLine::approver},
    {"--approve-date", "a date", &CommandLine::approveDate},
    {"--min-freeboard-source", "the source of the freeboard criterion",
     &CommandLine::minFreeboardSource},
    {"--min-velocity-source", "the source of the lowest velocity", &CommandLine::minVelocitySource},
    {"--max-velocity-source", "the source of the highest velocity",
     &CommandLine::maxVelocitySource},
};

// Which commands take which option. sheet --batch counts as sheet.
struct OptionUse {
    std::string_view name;
    std::string_view commands;  // for the error text
    std::vector<Command> allowed;
};

const std::vector<OptionUse>& Uses() {
    const std::vector<Command> criteria = {Command::Fit, Command::Sheet, Command::Capacity,
                                           Command::SolveSlope, Command::SelectTable};
    std::vector<Command> withProfile = criteria;
    withProfile.push_back(Command::Profile);
    static const std::vector<OptionUse> uses = {
        {"--svg",
         "a single calculation, fit, select-table and profile",
         {Command::Single, Command::Fit, Command::SelectTable, Command::Profile}},
        {"--dxf",
         "a single calculation, fit and profile",
         {Command::Single, Command::Fit, Command::Profile}},
        {"--docx",
         "sheet, select-table and profile",
         {Command::Sheet, Command::SelectTable, Command::Profile}},
        {"--csv",
         "fit, table, select-table and profile",
         {Command::Fit, Command::Table, Command::SelectTable, Command::Profile}},
        {"--factor", "profile", {Command::Profile}},
        {"--end", "profile and sheet --batch", {Command::Profile, Command::Sheet}},
        {"--spacing", "profile and sheet --batch", {Command::Profile, Command::Sheet}},
        {"--step", "table", {Command::Table}},
        {"--slopes", "select-table", {Command::SelectTable}},
        {"--html",
         "sheet, select-table and profile",
         {Command::Sheet, Command::SelectTable, Command::Profile}},
        {"--pdf",
         "sheet, select-table and profile",
         {Command::Sheet, Command::SelectTable, Command::Profile}},
        {"--project", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--channel", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--station", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--designer", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--date",
         "sheet, select-table and profile",
         {Command::Sheet, Command::SelectTable, Command::Profile}},
        {"--unit", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--stage", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--number", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--checker", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--check-date", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--approver", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--approve-date", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--basis", "sheet and profile", {Command::Sheet, Command::Profile}},
        {"--min-freeboard-source", "sheet", {Command::Sheet}},
        {"--min-velocity-source", "sheet", {Command::Sheet}},
        {"--max-velocity-source", "sheet", {Command::Sheet}},
        {"--min-freeboard", "fit, sheet, the design aids and profile", withProfile},
        {"--min-velocity", "fit, sheet and the design aids", criteria},
        {"--max-velocity", "fit, sheet and the design aids", criteria},
        {"--min-discharge", "fit, sheet and the design aids", criteria},
        {"--json",
         "a single calculation, fit, table, the design aids and profile",
         {Command::Single, Command::Fit, Command::Table, Command::Capacity, Command::SolveSlope,
          Command::SelectTable, Command::Profile}},
    };
    return uses;
}

// The criterion an option names: "--max-velocity" is views' "max-velocity".
const views::CriterionFieldInfo* CriterionOption(std::string_view arg) {
    for (const views::CriterionFieldInfo& info : views::kCriterionFields) {
        if (arg.starts_with("--") && arg.substr(2) == info.key) {
            return &info;
        }
    }
    return nullptr;
}

CliError CriteriaError(const views::CriteriaProblem& problem) {
    return UsageError(views::ProblemText(problem, views::Language::English));
}

}  // namespace

std::string_view UsageText() {
    return kUsage;
}

std::string_view HelpText() {
    return kHelp;
}

Outcome<CommandLine> ParseCommandLine(const std::vector<std::string_view>& args) {
    CommandLine c;
    views::CriteriaTexts criteria;
    bool json = false;
    bool csv = false;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view a = args[i];
        if (optionsEnded || !IsOption(a)) {
            c.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        // "--svg=out.svg" is "--svg out.svg"; the value may be empty or
        // start with "-".
        std::optional<std::string_view> attached;
        if (const std::size_t eq = a.find('='); a.starts_with("--") && eq != a.npos) {
            attached = a.substr(eq + 1);
            a = a.substr(0, eq);
        }
        const auto hasValue = [&] { return attached.has_value() || i + 1 < args.size(); };
        const auto value = [&] {
            return attached ? *std::exchange(attached, std::nullopt) : args[++i];
        };
        seen.push_back(a);
        if (a == "-h" || a == "--help") {
            help = true;
        } else if (a == "--version") {
            version = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--csv") {
            csv = true;
        } else if (a == "--bom") {
            c.bom = true;
        } else if (a == "--force") {
            c.force = true;
        } else if (a == "--step") {
            if (!hasValue()) {
                return UsageError("--step needs a depth in metres");
            }
            c.step = value();
        } else if (a == "--basis") {
            if (!hasValue()) {
                return UsageError("--basis needs a line of the sheet's basis");
            }
            c.basis.emplace_back(value());
        } else if (a == "--factor" || a == "--end" || a == "--spacing") {
            if (!hasValue()) {
                return UsageError(std::string(a) +
                                  (a == "--factor" ? " needs k, 1 to 2"
                                   : a == "--end"
                                       ? " needs normal, critical or a water level in metres"
                                       : " needs a distance in metres"));
            }
            (a == "--factor" ? c.factor : a == "--end" ? c.end : c.spacing) = value();
        } else if (a == "--slopes") {
            if (!hasValue()) {
                return UsageError("--slopes needs a list of slope denominators, 300,500,1000");
            }
            c.slopes = value();
        } else if (const auto* t = std::find_if(std::begin(kTextOptions), std::end(kTextOptions),
                                                [&](const ValueOption& o) { return o.name == a; });
                   t != std::end(kTextOptions)) {
            // The file options need a name; a detail may be given empty.
            const bool file = a == "--svg" || a == "--dxf" || a == "--batch" || a == "--html" ||
                              a == "--pdf" || a == "--docx" || a == "--catalogue";
            if (!hasValue() || (file && (attached ? attached->empty() : args[i + 1].empty()))) {
                return UsageError(std::string(a) + " needs " + std::string(t->needs));
            }
            // One catalogue: a second would silently drop the first's sections.
            if (a == "--catalogue" && c.catalogue) {
                return UsageError("--catalogue is given twice; put the sections in one file");
            }
            c.*(t->text) = std::string(value());
        } else if (const views::CriterionFieldInfo* k = CriterionOption(a)) {
            // Refused where it stands, so that it is the first thing said.
            const bool given = hasValue();
            std::string& text = criteria[static_cast<std::size_t>(k->field)];
            text = given ? std::string(value()) : std::string();
            if (!given || std::holds_alternative<views::Refused>(views::ReadMeasure(text))) {
                return CriteriaError({.field = k->field, .text = text});
            }
        } else {
            return UsageError("unknown option " + std::string(a));
        }
        if (attached) {
            return UsageError(std::string(a) + " takes no value");
        }
    }
    if (help || version) {
        c.command = help ? Command::Help : Command::Version;
        return c;
    }
    if (json && csv) {
        return UsageError("choose one of --json and --csv");
    }
    c.format = json ? Format::Json : csv ? Format::Csv : Format::Text;

    static constexpr std::pair<std::string_view, Command> kCommands[] = {
        {"fit", Command::Fit},
        {"table", Command::Table},
        {"sheet", Command::Sheet},
        {"capacity", Command::Capacity},
        {"solve-slope", Command::SolveSlope},
        {"select-table", Command::SelectTable},
        {"profile", Command::Profile},
    };
    const auto* named = c.operands.empty()
                            ? std::end(kCommands)
                            : std::find_if(std::begin(kCommands), std::end(kCommands),
                                           [&](const auto& k) { return k.first == c.operands[0]; });
    if (named != std::end(kCommands)) {
        c.command = named->second;
        c.operands.erase(c.operands.begin());
    } else if (c.batch) {
        c.command = Command::Batch;
        if (json || c.svg || c.dxf || c.force || c.step || csv || !c.operands.empty()) {
            return UsageError("--batch takes one FILE, and --bom, and nothing else");
        }
    }
    for (const OptionUse& use : Uses()) {
        const bool given = std::find(seen.begin(), seen.end(), use.name) != seen.end();
        if (given &&
            std::find(use.allowed.begin(), use.allowed.end(), c.command) == use.allowed.end()) {
            return UsageError(std::string(use.name) + " goes with " + std::string(use.commands));
        }
    }
    if (c.batch && c.command != Command::Batch && c.command != Command::Sheet) {
        return UsageError("--batch goes alone, or with sheet");
    }
    const int sheets = c.html.has_value() + c.pdf.has_value() + c.docx.has_value();
    if (c.command == Command::Sheet && sheets != 1) {
        return UsageError("sheet writes one file: give --html FILE, --pdf FILE or --docx FILE");
    }
    if (sheets > 1) {
        return UsageError("choose one of --html, --pdf and --docx");
    }
    if (c.force && !c.svg && !c.dxf && sheets == 0) {
        return UsageError("--force goes with --svg, --dxf, --html, --pdf and --docx");
    }
    const views::CriteriaReading reading = views::ReadCriteria(criteria);
    if (!reading.ok()) {
        return CriteriaError(reading.problems.front());
    }
    c.criteria = reading.criteria;
    if (c.bom && c.format != Format::Csv && c.command != Command::Batch) {
        return UsageError("--bom goes with --csv and --batch");
    }
    const int toStandardOutput =
        (c.svg == "-") + (c.dxf == "-") + (c.html == "-") + (c.pdf == "-") + (c.docx == "-");
    if (toStandardOutput > 1) {
        return UsageError("only one output can go to standard output (\"-\")");
    }
    return c;
}

}  // namespace veltrane::cli
