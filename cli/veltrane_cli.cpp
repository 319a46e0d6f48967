// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/veltrane_cli.h"

#include <cerrno>
#include <fstream>
#include <string>

#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/design_aid_commands.h"
#include "cli/design_commands.h"
#include "cli/output_file.h"
#include "cli/sheet_command.h"
#include "cli/single_run.h"
#include "hydraulics/calculation_run.h"
#include "sheet/section_svg.h"

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "unknown"
#endif

namespace veltrane::cli {

namespace {

int RunSingle(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 5) {
        return UsageError(err, "expected SIZE DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const auto size = ParseSectionName(v[0]);
    if (!size) {
        return UsageError(err, "unknown size " + std::string(v[0]));
    }
    const USection& section = LookupSection(*size);
    const CalculationOutcome outcome = RunCalculation(section, {v[1], v[2], v[3], v[4]});
    if (c.svg && outcome.isReport()) {
        const std::string title =
            std::string(section.sizeLabel) + "  " + sheet::InputsTitle(v[1], v[2], v[3], v[4]);
        const std::string svg = sheet::CrossSectionSvg({sheet::PanelFor(section, outcome)}, title);
        if (const int status = SaveOutputFile(*c.svg, svg, c.force, err); status != kExitReport) {
            return status;
        }
    }
    if (c.format == Format::Json) {
        out << OutcomeAsJson(section, outcome) << '\n';
    } else if (outcome.isReport()) {
        out << ReportAsLines(outcome.report().text);
    } else {
        err << outcome.message().text << '\n';
    }
    return outcome.isReport() ? kExitReport : kExitMessage;
}

int RunBatchFile(const CommandLine& c, std::istream& in, std::ostream& out, std::ostream& err) {
    if (*c.batch == "-") {
        return RunBatch(in, "standard input", c.bom, out, err);
    }
    errno = 0;
    std::ifstream file(*c.batch, std::ios::binary);
    if (!file) {
        err << "veltrane-calc: cannot read " << *c.batch << ": " << LastErrorText() << '\n';
        return kExitUsage;
    }
    return RunBatch(file, *c.batch, c.bom, out, err);
}

int RunCommand(const CommandLine& c, std::istream& in, std::ostream& out, std::ostream& err) {
    using Command = CommandLine::Command;
    switch (c.command) {
        case Command::Help:
            out << UsageText() << '\n' << HelpText();
            return kExitReport;
        case Command::Version:
            out << "veltrane-calc " VELTRANE_VERSION "\n";
            return kExitReport;
        case Command::Batch:
            return RunBatchFile(c, in, out, err);
        case Command::Fit:
            return RunFit(c, out, err);
        case Command::Table:
            return RunTable(c, out, err);
        case Command::Sheet:
            return RunSheet(c, in, err);
        case Command::Capacity:
            return RunCapacity(c, out, err);
        case Command::SolveSlope:
            return RunSolveSlope(c, out, err);
        case Command::SelectTable:
            return RunSelectTable(c, out, err);
        case Command::Single:
            break;
    }
    return RunSingle(c, out, err);
}

}  // namespace

int RunCli(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    const auto parsed = ParseCommandLine(args);
    if (const auto* problem = std::get_if<std::string>(&parsed)) {
        return UsageError(err, *problem);
    }
    const int status = RunCommand(std::get<CommandLine>(parsed), in, out, err);
    // Whatever the command said, it counts only once it is out.
    if (out) {
        errno = 0;
        out.flush();
    }
    if (!out) {
        err << "veltrane-calc: cannot write standard output: " << LastErrorText() << '\n';
        return kExitWrite;
    }
    return status;
}

}  // namespace veltrane::cli
