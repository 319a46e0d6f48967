// SPDX-License-Identifier: GPL-3.0-or-later
// RFC 4180 CSV: a reader that streams its input record by record, and field
// quoting.
#pragma once

#include <cstddef>
#include <deque>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::cli {

class CsvReader {
  public:
    // Longest record (all its lines) that is read whole, bytes. Memory stays
    // within a few times this, however long the input.
    static constexpr std::size_t kRecordLimit = std::size_t{1} << 20;

    enum class Problem {
        None,
        Unclosed,  // a quoted field is not closed before the end of the input or the limit
        TooLong,   // a line longer than the limit; the rest of it is skipped
    };

    // A UTF-8 byte order mark at the start is skipped.
    explicit CsvReader(std::istream& in, std::size_t recordLimit = kRecordLimit);

    // Reads the next record into fields, reusing their storage. Records end
    // at LF, CR LF or CR outside quotes; a quoted field may span lines. A
    // record with a problem holds the fields of its first line alone, and
    // reading resumes on the line after it. Returns false at the end of the
    // input, and when reading fails (see failed()).
    bool Next(std::vector<std::string>& fields, std::size_t& count, Problem& problem);

    // 1-based line number where the last record read starts.
    std::size_t line() const { return recordLine_; }

    // Set when the input could not be read; error() says why.
    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

  private:
    struct Line {
        std::string text;
        std::string ending;  // "\n", "\r\n", "\r", or "" at the end of the input
        std::size_t number = 0;
        bool tooLong = false;
    };

    bool TakeLine(Line& line);
    bool ReadLine(Line& line);
    bool Fill();

    std::istream& in_;
    std::size_t limit_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    bool first_ = true;
    std::size_t nextLine_ = 1;
    std::size_t recordLine_ = 0;
    std::deque<Line> pending_;  // lines read ahead for a record that did not close
    std::string error_;
};

// Put before CSV output for spreadsheets that guess the encoding otherwise.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Appends field, quoted if it holds a comma, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field);

}  // namespace veltrane::cli
