#include "veltrane_cli.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>

#include "batch.h"
#include "design_commands.h"
#include "hydraulics/calculation_run.h"
#include "section_svg.h"
#include "single_run.h"

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "unknown"
#endif

namespace veltrane::cli {

namespace {

constexpr std::string_view kUsage =
    "usage: veltrane-calc [--json] [--svg FILE [--force]] SIZE DISCHARGE SLOPE ROUGHNESS FACTOR\n"
    "       veltrane-calc --batch FILE          (FILE \"-\" reads standard input)\n"
    "       veltrane-calc fit DISCHARGE SLOPE ROUGHNESS FACTOR [--json | --csv]\n"
    "                     [--svg FILE [--force]]\n"
    "       veltrane-calc table SIZE SLOPE ROUGHNESS [--step S] [--csv | --json]\n"
    "       veltrane-calc --help | --version\n";

constexpr std::string_view kHelp =
    "Uniform-flow depth of a standard precast U-channel, as the Veltrane window reports it.\n"
    "\n"
    "  SIZE       U60, U80, U100, U120 or U140 (D60 ... D140 too, any case)\n"
    "  DISCHARGE  design discharge Q, m3/s\n"
    "  SLOPE      x of the bed slope 1/x\n"
    "  ROUGHNESS  Manning's roughness n\n"
    "  FACTOR     increase factor k of the check discharge, 1 to 2\n"
    "\n"
    "The values are texts read as the window reads its boxes. Options stand before SIZE;\n"
    "everything after it is a value, so \"-5\" and \"\" are values.\n"
    "\n"
    "  --json     write one JSON object instead of the report, with hydraulic extras:\n"
    "             Froude number and regime, critical depth, freeboard and capacity\n"
    "  --svg      also draw the cross-section to scale into FILE (SVG); --force\n"
    "             replaces an existing FILE\n"
    "  --batch    one calculation per row of a CSV file with the columns\n"
    "             size,discharge,slope,roughness,factor; the results go to stdout as CSV\n"
    "\n"
    "\n"
    "  fit        the calculation for all five sections, and the smallest that carries\n"
    "             both discharges; exit 0 when one fits, 1 when none does\n"
    "  table      the rating table of a section from STEP (default 0.01 m) up to its\n"
    "             channel depth\n"
    "\n"
    "Exit status: 0 report, 1 message, 2 usage error or unreadable file.\n";

int UsageError(std::ostream& err, std::string_view what) {
    err << "veltrane-calc: " << what << '\n' << kUsage;
    return kExitUsage;
}

std::optional<std::string> ReadAll(std::string_view path, std::istream& in) {
    if (path == "-") {
        std::ostringstream text;
        text << in.rdbuf();
        return in.bad() ? std::nullopt : std::optional<std::string>(text.str());
    }
    std::ifstream file{std::string(path), std::ios::binary};
    if (!file) {
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    return text;
}

}  // namespace

int RunCli(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    if (!args.empty() && (args[0] == "fit" || args[0] == "table")) {
        const std::vector<std::string_view> rest(args.begin() + 1, args.end());
        return args[0] == "fit" ? RunFit(rest, out, err) : RunTable(rest, out, err);
    }
    bool json = false;
    bool force = false;
    std::string svg;
    std::size_t i = 0;
    for (; i < args.size() && args[i].size() > 1 && args[i][0] == '-'; ++i) {
        const std::string_view option = args[i];
        if (option == "--help") {
            out << kUsage << '\n' << kHelp;
            return kExitReport;
        }
        if (option == "--version") {
            out << "veltrane-calc " VELTRANE_VERSION "\n";
            return kExitReport;
        }
        if (option == "--json") {
            json = true;
        } else if (option == "--svg" && i + 1 < args.size()) {
            svg = std::string(args[++i]);
        } else if (option == "--force") {
            force = true;
        } else if (option == "--batch") {
            if (json || !svg.empty() || force || i + 2 != args.size()) {
                return UsageError(err, "--batch takes one FILE and nothing else");
            }
            const auto text = ReadAll(args[i + 1], in);
            if (!text) {
                err << "veltrane-calc: cannot read " << args[i + 1] << '\n';
                return kExitUsage;
            }
            return RunBatch(*text, out, err);
        } else {
            return UsageError(err, "unknown option " + std::string(option));
        }
    }
    if (args.size() - i != 5) {
        return UsageError(err, "expected SIZE DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const auto size = ParseSectionName(args[i]);
    if (!size) {
        return UsageError(err, "unknown size " + std::string(args[i]));
    }
    if (force && svg.empty()) {
        return UsageError(err, "--force goes with --svg");
    }
    const USection& section = LookupSection(*size);
    const CalculationOutcome outcome =
        RunCalculation(section, {args[i + 1], args[i + 2], args[i + 3], args[i + 4]});
    if (!svg.empty() && outcome.isReport) {
        std::string error;
        const std::string title = std::string(section.sizeLabel) + "  " +
                                  InputsTitle(args[i + 1], args[i + 2], args[i + 3], args[i + 4]);
        if (!WriteNewFile(svg, CrossSectionSvg({ReportPanel(section, outcome)}, title), force,
                          error)) {
            err << "veltrane-calc: " << error << '\n';
            return kExitUsage;
        }
    }
    if (json) {
        out << OutcomeAsJson(section, outcome) << '\n';
    } else if (outcome.isReport) {
        out << ReportAsLines(outcome.report);
    } else {
        err << outcome.message.text << '\n';
    }
    return outcome.isReport ? kExitReport : kExitMessage;
}

}  // namespace veltrane::cli
