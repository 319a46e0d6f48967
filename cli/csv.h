// SPDX-License-Identifier: GPL-3.0-or-later
// RFC 4180 CSV: a reader over text already in memory, record by record, and
// field quoting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::cli {

// Quotes are read as RFC 4180 says, and leniently where it says nothing: a
// field is quoted only when its first character is a quote; a quote anywhere
// else in an unquoted field is kept as it stands ("5"" in.", "12"x"), and
// text after a closing quote is kept too ("ab"c reads abc), so nothing typed
// is lost.
class CsvReader {
  public:
    // Longest record (all its lines) that is read whole, bytes.
    static constexpr std::size_t kRecordLimit = std::size_t{1} << 20;

    enum class Problem {
        None,
        Unclosed,  // a quoted field is not closed before the end of the input or the limit
        TooLong,   // a line longer than the limit; the line is skipped
    };

    // text is UTF-8 without a byte order mark; it must outlive the reader.
    // separator is ',' for CSV, '\t' for the tab-separated text a
    // spreadsheet saves as "Unicode text".
    explicit CsvReader(std::string_view text, std::size_t recordLimit = kRecordLimit,
                       char separator = ',');

    // The separator of text, by its first line: a tab where that line has
    // tabs and no comma (a spreadsheet's "Unicode text"), else a comma.
    static char SeparatorOf(std::string_view text);

    // Reads the next record into fields, reusing their storage. Records end
    // at LF, CR LF or CR outside quotes; a quoted field may span lines. A
    // record with a problem holds the fields of its first line alone, and
    // reading resumes on the line after it. Returns false at the end of the
    // text.
    bool Next(std::vector<std::string>& fields, std::size_t& count, Problem& problem);

    // 1-based line number where the last record read starts.
    std::size_t line() const { return recordLine_; }

  private:
    struct Line {
        std::string_view text;
        std::string_view ending;  // "\n", "\r\n", "\r", or "" at the end of the text
    };

    bool ReadLine(Line& line);

    std::string_view text_;
    std::size_t limit_;
    char separator_;
    std::size_t at_ = 0;
    std::size_t nextLine_ = 1;
    std::size_t recordLine_ = 0;
};

// Put before CSV output for spreadsheets that guess the encoding otherwise.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Who reads a CSV file: a script takes every cell as it stands; a
// spreadsheet would run a cell that begins with =, +, -, @, a tab or CR as a
// formula ("=HYPERLINK(…)" echoed from an input file), so such a cell that is
// not a number gets a leading ' there, as OWASP advises. -5 stays a number.
enum class CsvFor { Scripts, Spreadsheets };

// Appends field, quoted if it holds a comma, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field, CsvFor reader = CsvFor::Scripts);

}  // namespace veltrane::cli
