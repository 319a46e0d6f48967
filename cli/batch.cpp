// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <string>

#include "cli/batch_rows.h"
#include "cli/command_line.h"
#include "cli/csv.h"
#include "hydraulics/calculation_run.h"

namespace veltrane::cli {

namespace {

constexpr std::string_view kOutputHeader =
    "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,check_depth,"
    "velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message\n";

// Flushes the output in large pieces rather than per row.
constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

int RunBatch(std::istream& in, std::string_view name, bool bom, std::ostream& out,
             std::ostream& err) {
    std::string buffer;
    buffer.reserve(kFlushSize + 4096);
    bool started = false;
    bool failed = false;
    const auto flush = [&] {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
        return static_cast<bool>(out);
    };
    const int status = ReadBatchRows(in, name, {}, err, [&](const BatchRow& row) {
        if (!started) {
            // Nothing is written before the header has been found good.
            started = true;
            buffer += bom ? kUtf8Bom : "";
            buffer += kOutputHeader;
        }
        for (std::size_t c = 0; c < kBatchColumnCount; ++c) {
            AppendCsvField(buffer, row.values[c]);
            buffer += ',';
        }
        if (!row.size) {
            buffer += "error,,,,,,,,,,";
            AppendCsvField(buffer, row.problem);
        } else {
            const CalculationOutcome outcome = RunCalculation(
                LookupSection(*row.size), {row.values[kDischarge], row.values[kSlope],
                                           row.values[kRoughness], row.values[kFactor]});
            if (outcome.isReport()) {
                buffer += "report,";
                for (const std::string& number : outcome.report().printed) {
                    buffer += number;
                    buffer += ',';
                }
            } else {
                buffer += "message,,,,,,,,,,";
                AppendCsvField(buffer, outcome.message().text);
            }
        }
        buffer += '\n';
        failed = buffer.size() >= kFlushSize && !flush();
        return !failed;
    });
    if (failed) {
        return kExitWrite;
    }
    if (status != kExitReport && !started) {
        return status;
    }
    if (!started) {
        buffer += bom ? kUtf8Bom : "";
        buffer += kOutputHeader;
    }
    if (!flush()) {
        return kExitWrite;
    }
    return status;
}

}  // namespace veltrane::cli
