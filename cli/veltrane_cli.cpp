// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/veltrane_cli.h"

#include <cerrno>
#include <ostream>
#include <string>

#include "cli/batch.h"
#include "cli/cli_error.h"
#include "cli/command_line.h"
#include "cli/design_aid_commands.h"
#include "cli/design_commands.h"
#include "cli/drawing_output.h"
#include "cli/input_text.h"
#include "cli/output_file.h"
#include "cli/profile_command.h"
#include "cli/section_catalogue_file.h"
#include "cli/sheet_command.h"
#include "cli/single_run.h"
#include "cli/size_operand.h"
#include "cli/terminal_text.h"
#include "hydraulics/calculation_run.h"
#include "sheet/section_svg.h"

#ifndef VELTRANE_VERSION
#define VELTRANE_VERSION "unknown"
#endif

namespace veltrane::cli {

namespace {

CommandResult RunSingle(const CommandLine& c, std::ostream& out, std::ostream& err) {
    const auto& v = c.operands;
    if (v.size() != 5) {
        return UsageError("expected SIZE DISCHARGE SLOPE ROUGHNESS FACTOR");
    }
    const Outcome<SectionRef> size = SizeOperand(v[0], c.sections);
    if (!size) {
        return size.error();
    }
    const USection& section = **size;
    const CalculationOutcome outcome = RunCalculation(section, {v[1], v[2], v[3], v[4]});
    if (outcome.isReport()) {
        const std::string title = sheet::RunDrawingTitle(section, {v[1], v[2], v[3], v[4]});
        const std::vector<sheet::SvgPanel> panels = {sheet::PanelFor(section, outcome)};
        if (const Step saved = SaveDrawing(
                c, [&] { return sheet::CrossSectionSvg(panels, title); },
                [&] { return DrawingDxf(panels, title); });
            !saved) {
            return saved.error();
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

CommandResult RunBatchFile(const CommandLine& c, std::istream& in, std::ostream& out,
                           std::ostream& err) {
    const Outcome<std::string> text = ReadBatchInput(*c.batch, in, err);
    if (!text) {
        return text.error();
    }
    return RunBatch(*text, c.bom, out, c.sections);
}

CommandResult RunCommand(const CommandLine& c, std::istream& in, std::ostream& out,
                         std::ostream& err) {
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
        case Command::Profile:
            return RunProfile(c, in, out, err);
        case Command::Single:
            break;
    }
    return RunSingle(c, out, err);
}

// The --catalogue's sections beside the standard five. A catalogue with any
// bad row runs nothing: a design must not quietly lose a section.
Outcome<SectionSet> ReadCatalogue(const CommandLine& c, std::istream& in, std::ostream& err) {
    if (!c.catalogue) {
        return SectionSet();
    }
    const bool stdinTaken = c.batch == "-" || (c.command == CommandLine::Command::Profile &&
                                               !c.operands.empty() && c.operands[0] == "-");
    if (*c.catalogue == "-" && stdinTaken) {
        return UsageError("--catalogue and the command cannot both read standard input");
    }
    const Outcome<std::string> text = ReadBatchInput(*c.catalogue, in, err);
    if (!text) {
        return text.error();
    }
    const CatalogueReading reading = ReadSectionCatalogue(*text);
    if (reading.problems.empty()) {
        return reading.sections;
    }
    constexpr std::size_t kMostProblems = 20;
    std::string said;
    for (std::size_t i = 0; i < reading.problems.size() && i < kMostProblems; ++i) {
        said += (i ? "\nveltrane-calc: " : "") + InputName(*c.catalogue) + ": " +
                views::SectionProblemText(reading.problems[i], views::Language::English);
    }
    if (reading.problems.size() > kMostProblems) {
        said += "\nveltrane-calc: " + std::to_string(reading.problems.size() - kMostProblems) +
                " further problems are not listed";
    }
    return InputError(said);
}

CommandResult Run(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out,
                  std::ostream& err) {
    Outcome<CommandLine> parsed = ParseCommandLine(args);
    if (!parsed) {
        return parsed.error();
    }
    if (parsed->command != CommandLine::Command::Help &&
        parsed->command != CommandLine::Command::Version) {
        Outcome<SectionSet> sections = ReadCatalogue(*parsed, in, err);
        if (!sections) {
            return sections.error();
        }
        parsed->sections = std::move(*sections);
    }
    // An output FILE "-" goes to out; the command's usual output then goes
    // nowhere, so that standard output holds that one file.
    const StandardOutputScope scope(out);
    std::ostream nowhere(nullptr);
    const CommandResult result =
        RunCommand(*parsed, in, parsed->writesToStandardOutput() ? nowhere : out, err);
    if (!result) {
        return result;
    }
    // Whatever the command said, it counts only once it is out. A stream
    // that failed earlier keeps the errno of its failed write.
    if (out) {
        errno = 0;
        out.flush();
    }
    if (!out) {
        return StandardOutputError(errno);
    }
    return result;
}

}  // namespace

int RunCli(const std::vector<std::string_view>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
    const CommandResult result = Run(args, in, out, err);
    if (result) {
        return *result;
    }
    // The one place where veltrane-calc says why it stopped.
    const CliError& e = result.error();
    err << "veltrane-calc: " << TerminalText(e.message) << '\n';
    if (e.withUsage) {
        err << "Try 'veltrane-calc --help' for more information.\n";
    }
    return e.status;
}

}  // namespace veltrane::cli
