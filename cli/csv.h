// RFC 4180 CSV: a reader over a text held in memory, and field quoting.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::cli {

class CsvReader {
  public:
    // A UTF-8 byte order mark at the start is skipped.
    explicit CsvReader(std::string_view text);

    // Reads the next record into fields, reusing their storage. Records end at
    // LF, CR LF or CR outside quotes. Returns false at the end of the text.
    // unterminated is set when the text ends inside a quoted field.
    bool Next(std::vector<std::string>& fields, std::size_t& count, bool& unterminated);

    // 1-based line number where the last record read starts.
    std::size_t line() const { return recordLine_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t recordLine_ = 0;
};

// Appends field, quoted if it holds a comma, a quote, CR or LF.
void AppendCsvField(std::string& out, std::string_view field);

}  // namespace veltrane::cli
