// SPDX-License-Identifier: GPL-3.0-or-later
// veltrane-calc's one option grammar, its usage text and its exit statuses.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_error.h"
#include "hydraulics/design_criteria.h"
#include "hydraulics/user_sections.h"

namespace veltrane::cli {

enum class Format { Text, Csv, Json };

struct CommandLine {
    enum class Command {
        Help,
        Version,
        Single,
        Batch,
        Fit,
        Table,
        Sheet,
        Capacity,
        SolveSlope,
        SelectTable,
        Profile,
    };
    Command command = Command::Single;
    Format format = Format::Text;
    bool bom = false;    // a UTF-8 byte order mark before CSV output
    bool force = false;  // --svg, --dxf, --html, --pdf and --docx may replace a file
    std::optional<std::string> svg;
    std::optional<std::string> dxf;        // the drawing --svg draws, for CAD
    std::optional<std::string> batch;      // the --batch FILE; "-" is standard input
    std::optional<std::string> catalogue;  // the --catalogue FILE of the user's sections
    // The standard five and the catalogue's rows: set by the run once the
    // catalogue is read, never by the parser.
    SectionSet sections;
    std::optional<std::string_view> step;
    std::optional<std::string_view> slopes;  // select-table: "300,500,1000"
    // profile: k, the end condition ("normal", "critical" or a level, m) and
    // the station spacing, m; as typed.
    std::optional<std::string_view> factor, end, spacing;
    // sheet: where it goes.
    std::optional<std::string> html;
    std::optional<std::string> pdf;
    std::optional<std::string> docx;
    // sheet: the reach's details, as typed.
    std::optional<std::string> project, channel, station, designer, date;
    // sheet: the title block and the signature table, as typed.
    std::optional<std::string> unit, stage, number, checker, checkDate, approver, approveDate;
    // sheet: 计算依据, one --basis per line, in order.
    std::vector<std::string> basis;
    // sheet: where each criterion comes from, as cited.
    std::optional<std::string> minFreeboardSource, minVelocitySource, maxVelocitySource;
    // fit and sheet: design criteria, m and m/s.
    DesignCriteria criteria;
    std::vector<std::string_view> operands;  // after the command word, if any

    // Whether an output FILE is "-": that output takes standard output, in
    // place of the command's text, JSON or CSV there.
    bool writesToStandardOutput() const {
        return svg == "-" || dxf == "-" || html == "-" || pdf == "-" || docx == "-";
    }
};

// Reads the arguments (without the program name). Options may stand
// anywhere before "--"; after it every argument is an operand. An argument
// is an option when it starts with "--" or with "-" and a letter, so "-5",
// "-.5", "-" and "" are operands. The criteria are read by views' one rule
// (blanks around ignored, an empty value gives none). Returns the command
// line, or a usage error.
Outcome<CommandLine> ParseCommandLine(const std::vector<std::string_view>& args);

// "usage: …" for every command, and the whole --help text.
std::string_view UsageText();
std::string_view HelpText();

}  // namespace veltrane::cli
