#include "cli/command_line.h"

#include <algorithm>
#include <array>

namespace veltrane::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: veltrane-calc [--json] [--svg FILE [--force]] SIZE DISCHARGE SLOPE ROUGHNESS FACTOR\n"
    "       veltrane-calc --batch FILE [--bom]    (FILE \"-\" reads standard input)\n"
    "       veltrane-calc fit DISCHARGE SLOPE ROUGHNESS FACTOR [--json | --csv [--bom]]\n"
    "                     [--svg FILE [--force]]\n"
    "       veltrane-calc table SIZE SLOPE ROUGHNESS [--step S] [--json | --csv [--bom]]\n"
    "       veltrane-calc -h | --help | --version\n";

constexpr std::string_view kHelp =
    "Uniform-flow depth of a standard precast U-channel, as the Veltrane window reports it.\n"
    "\n"
    "  SIZE       U60, U80, U100, U120 or U140 (D60 ... D140 too, any case)\n"
    "  DISCHARGE  design discharge Q, m3/s\n"
    "  SLOPE      x of the bed slope 1/x\n"
    "  ROUGHNESS  Manning's roughness n\n"
    "  FACTOR     increase factor k of the check discharge, 1 to 2\n"
    "\n"
    "The values are texts read as the window reads its boxes. Options may stand before,\n"
    "between or after them. An argument that starts with \"--\", or with \"-\" and a letter,\n"
    "is an option; \"-5\" and \"\" are values. \"--\" ends the options: every argument after\n"
    "it is a value.\n"
    "\n"
    "  --json        write JSON instead of text; a single calculation adds hydraulic\n"
    "                extras: Froude number and regime, critical depth, freeboard, capacity\n"
    "  --csv         fit and table: write CSV instead of text\n"
    "  --bom         start CSV output (--csv, --batch) with a UTF-8 byte order mark, for\n"
    "                spreadsheets that would not read the Chinese texts without it\n"
    "  --svg FILE    also draw the cross-section to scale into FILE (SVG); FILE must not\n"
    "                exist yet\n"
    "  --force       with --svg: replace FILE if it exists\n"
    "  --batch FILE  one calculation per row of a CSV file with the columns\n"
    "                size,discharge,slope,roughness,factor; the results go to stdout as CSV\n"
    "  --step S      table: the depth step in metres, 0.0001 up to the channel depth\n"
    "                (default 0.01)\n"
    "  -h, --help    show this text\n"
    "  --version     show the version\n"
    "\n"
    "  fit        the calculation for all five sections, and the smallest that carries\n"
    "             both discharges; exit 0 when one fits, 1 when none does\n"
    "  table      the rating table of a section from S up to its channel depth\n"
    "\n"
    "Exit status: 0 report; 1 message, or no section fits; 2 usage error, unreadable\n"
    "input, or an --svg FILE that exists; 3 an output could not be written.\n";

bool IsOption(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') {
        return false;
    }
    const char c = arg[1];
    return c == '-' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Which commands take which option.
struct OptionUse {
    std::string_view name;
    std::string_view commands;  // for the error text
    std::array<CommandLine::Command, 2> allowed;
};

using Command = CommandLine::Command;

constexpr OptionUse kUses[] = {
    {"--svg", "a single calculation and fit", {Command::Single, Command::Fit}},
    {"--force", "--svg", {Command::Single, Command::Fit}},
    {"--csv", "fit and table", {Command::Fit, Command::Table}},
    {"--step", "table", {Command::Table, Command::Table}},
};

}  // namespace

std::string_view UsageText() {
    return kUsage;
}

std::string_view HelpText() {
    return kHelp;
}

int UsageError(std::ostream& err, std::string_view what) {
    err << "veltrane-calc: " << what << '\n' << kUsage;
    return kExitUsage;
}

std::variant<CommandLine, std::string> ParseCommandLine(const std::vector<std::string_view>& args) {
    CommandLine c;
    bool json = false;
    bool csv = false;
    bool batch = false;
    bool help = false;
    bool version = false;
    std::vector<std::string_view> seen;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (optionsEnded || !IsOption(a)) {
            c.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        // The argument after an option that takes one, whatever it looks like.
        const auto value = [&]() -> std::optional<std::string_view> {
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
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
        } else if (a == "--svg") {
            const auto file = value();
            if (!file || file->empty()) {
                return std::string("--svg needs a FILE to draw into");
            }
            c.svg = std::string(*file);
        } else if (a == "--batch") {
            const auto file = value();
            if (!file || file->empty()) {
                return std::string("--batch needs a FILE (\"-\" for standard input)");
            }
            batch = true;
            c.batch = std::string(*file);
        } else if (a == "--step") {
            const auto step = value();
            if (!step) {
                return std::string("--step needs a depth in metres");
            }
            c.step = *step;
        } else {
            return "unknown option " + std::string(a);
        }
        seen.push_back(a);
    }
    if (help || version) {
        c.command = help ? Command::Help : Command::Version;
        return c;
    }
    if (json && csv) {
        return std::string("choose one of --json and --csv");
    }
    c.format = json ? Format::Json : csv ? Format::Csv : Format::Text;

    if (batch) {
        c.command = Command::Batch;
        if (json || c.svg || c.force || c.step || csv || !c.operands.empty()) {
            return std::string("--batch takes one FILE, and --bom, and nothing else");
        }
        return c;
    }
    if (!c.operands.empty() && (c.operands[0] == "fit" || c.operands[0] == "table")) {
        c.command = c.operands[0] == "fit" ? Command::Fit : Command::Table;
        c.operands.erase(c.operands.begin());
    }
    for (const OptionUse& use : kUses) {
        const bool given = std::find(seen.begin(), seen.end(), use.name) != seen.end();
        if (given && c.command != use.allowed[0] && c.command != use.allowed[1]) {
            return std::string(use.name) + " goes with " + std::string(use.commands);
        }
    }
    if (c.force && !c.svg) {
        return std::string("--force goes with --svg");
    }
    if (c.bom && c.format != Format::Csv) {
        return std::string("--bom goes with --csv and --batch");
    }
    return c;
}

}  // namespace veltrane::cli
