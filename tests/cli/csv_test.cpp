// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV reader's records, field by field, and field quoting on output.
#include "cli/csv.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace veltrane::cli {
namespace {

struct Record {
    std::size_t line;
    std::vector<std::string> fields;
    CsvReader::Problem problem;

    bool operator==(const Record&) const = default;
};

void PrintTo(const Record& r, std::ostream* os) {
    *os << "line " << r.line << " problem " << static_cast<int>(r.problem) << ":";
    for (const std::string& f : r.fields) {
        *os << " [" << f << "]";
    }
}

std::vector<Record> ReadAll(std::string_view text, std::size_t limit = CsvReader::kRecordLimit) {
    CsvReader reader(text, limit);
    std::vector<std::string> fields;
    std::size_t count = 0;
    CsvReader::Problem problem = CsvReader::Problem::None;
    std::vector<Record> records;
    while (reader.Next(fields, count, problem)) {
        records.push_back({reader.line(),
                           {fields.begin(), fields.begin() + static_cast<std::ptrdiff_t>(count)},
                           problem});
    }
    return records;
}

using P = CsvReader::Problem;

// RFC 4180 says nothing of a quote that does not open a field; it is kept as
// typed, and text after a closing quote is kept too.
TEST(CsvReader, AQuoteInsideAnUnquotedFieldIsKeptLiterally) {
    EXPECT_EQ(ReadAll("U60,5\" pipe,a\"b\"c\n\"ab\"c,\"x\"\"y\",\"\"\n"),
              (std::vector<Record>{
                  {1, {"U60", "5\" pipe", "a\"b\"c"}, P::None},
                  {2, {"abc", "x\"y", ""}, P::None},
              }));
}

TEST(CsvReader, QuotedFieldsSpanLinesAndLineEndingsAreAnyOfThree) {
    EXPECT_EQ(ReadAll("a,\"1\r\n2\"\rb,c\r\nd\n\ne"), (std::vector<Record>{
                                                          {1, {"a", "1\r\n2"}, P::None},
                                                          {3, {"b", "c"}, P::None},
                                                          {4, {"d"}, P::None},
                                                          {5, {""}, P::None},
                                                          {6, {"e"}, P::None},
                                                      }));
}

// An unclosed quote spoils its own line only; reading resumes on the next.
TEST(CsvReader, AnUnclosedQuoteAndATooLongLineAreProblemsOfTheirOwnLine) {
    EXPECT_EQ(ReadAll("a,\"b\nc,d\n0123456789\ne\n", 8), (std::vector<Record>{
                                                             {1, {"a", "b"}, P::Unclosed},
                                                             {2, {"c", "d"}, P::None},
                                                             {3, {}, P::TooLong},
                                                             {4, {"e"}, P::None},
                                                         }));
}

TEST(AppendCsvField, QuotesOnlyWhatNeedsIt) {
    std::string out;
    for (std::string_view field : {"plain", "a,b", "5\" pipe", "two\nlines", "cr\r", ""}) {
        AppendCsvField(out, field);
        out += '|';
    }
    EXPECT_EQ(out, "plain|\"a,b\"|\"5\"\" pipe\"|\"two\nlines\"|\"cr\r\"||");
}

// For a spreadsheet, a cell that would run as a formula is neutralised;
// numbers stay numbers, and a script gets every cell as it stands.
TEST(AppendCsvField, FormulasAreNeutralisedForSpreadsheetsOnly) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"=HYPERLINK(\"http://x\",\"y\")", "\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\")\""},
        {"@SUM(A1:A9)", "'@SUM(A1:A9)"},
        {"+1+2", "'+1+2"},
        {"-", "'-"},
        {"-5", "-5"},
        {"+0.25", "+0.25"},
        {"-1e-3", "-1e-3"},
        {"\tx", "'\tx"},
        {"U60", "U60"},
        {"", ""},
    };
    for (const auto& [field, spreadsheet] : cases) {
        std::string forSheet;
        AppendCsvField(forSheet, field, CsvFor::Spreadsheets);
        EXPECT_EQ(forSheet, spreadsheet) << field;
        std::string forScript;
        AppendCsvField(forScript, field);
        std::string plain;
        AppendCsvField(plain, field, CsvFor::Scripts);
        EXPECT_EQ(forScript, plain) << field;
        EXPECT_EQ(forScript.find('\''), std::string::npos) << field;
    }
}

}  // namespace
}  // namespace veltrane::cli
