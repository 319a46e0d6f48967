// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch.h"

#include <cerrno>
#include <string>

#include "cli/batch_table.h"
#include "cli/csv.h"
#include "cli/output_file.h"

namespace veltrane::cli {

namespace {

// Flushes the output in large pieces rather than per row.
constexpr std::size_t kFlushSize = 1 << 16;

void AppendCsvRow(std::string& buffer, const auto& cells, CsvFor reader) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
        buffer += c == 0 ? "" : ",";
        AppendCsvField(buffer, cells[c], reader);
    }
    buffer += '\n';
}

}  // namespace

CommandResult RunBatch(std::string_view text, bool bom, std::ostream& out,
                       const SectionSet& sections) {
    std::string buffer;
    buffer.reserve(kFlushSize + 4096);
    buffer += bom ? kUtf8Bom : "";
    // A byte order mark is for spreadsheets, which run formulas.
    const CsvFor reader = bom ? CsvFor::Spreadsheets : CsvFor::Scripts;
    AppendCsvRow(buffer, kBatchResultColumns, reader);
    int writeErrno = -1;  // set when a write fails
    const auto flush = [&] {
        errno = 0;
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
        if (!out) {
            writeErrno = errno;
        }
        return static_cast<bool>(out);
    };
    const auto problem = ReadBatchRows(
        text, {},
        [&](const BatchRow& row) {
            AppendCsvRow(buffer, BatchResultCells(row), reader);
            return buffer.size() < kFlushSize || flush();
        },
        sections);
    // Nothing is written before the header has been found good, and the
    // header is read before any row.
    if (problem) {
        return InputError(views::FileProblemText(*problem, views::Language::English));
    }
    if (writeErrno < 0) {
        flush();
    }
    if (writeErrno >= 0) {
        return StandardOutputError(writeErrno);
    }
    return kExitReport;
}

}  // namespace veltrane::cli
