// SPDX-License-Identifier: GPL-3.0-or-later
// Batch and canal files in the encodings spreadsheets save: UTF-16 with a
// byte order mark reads as its UTF-8 twin, and GB18030 is read and said.
#include "cli/input_text.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/cli/cli_runner.h"

namespace veltrane::cli {
namespace {

using test::Cli;
using test::Result;

// The same rows three ways; "U70渠" shows that Chinese survives the reading.
constexpr std::string_view kUtf8Rows =
    "size,discharge,slope,roughness,factor\r\n"
    "U60,0.25,500,0.017,1.0\r\n"
    "U70渠,0.25,500,0.017,1.0\r\n";
constexpr std::u16string_view kUtf16Rows =
    u"size,discharge,slope,roughness,factor\r\n"
    u"U60,0.25,500,0.017,1.0\r\n"
    u"U70渠,0.25,500,0.017,1.0\r\n";

constexpr std::string_view kExpectedOut =
    "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,check_depth,"
    "velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,message\n"
    "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,45.034,\n"
    "U70渠,0.25,500,0.017,1.0,error,,,,,,,,,,line 3: unknown size 'U70渠'\n";

// UTF-16 bytes with their byte order mark.
std::string Utf16Bytes(std::u16string_view text, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

TEST(BatchEncoding, Utf16WithABomGivesTheUtf8Output) {
    const Result utf8 = Cli({"--batch", "-"}, std::string(kUtf8Rows));
    EXPECT_EQ(utf8.status, 0);
    EXPECT_EQ(utf8.out, kExpectedOut);
    EXPECT_EQ(utf8.err, "");
    for (const bool littleEndian : {true, false}) {
        const Result r = Cli({"--batch", "-"}, Utf16Bytes(kUtf16Rows, littleEndian));
        EXPECT_EQ(r.status, 0) << littleEndian;
        EXPECT_EQ(r.out, kExpectedOut) << littleEndian;
        EXPECT_EQ(r.err, "") << littleEndian;
    }
}

// What a spreadsheet saves as "Unicode text": UTF-16LE, fields between tabs.
// A comma inside a field is then the field's own.
TEST(BatchEncoding, ASpreadsheetsUnicodeTextIsTabSeparated) {
    const Result r =
        Cli({"--batch", "-"}, Utf16Bytes(u"size\tdischarge\tslope\troughness\tfactor\r\n"
                                         u"U60\t0.25\t500\t0.017\t1.0\r\n"
                                         u"U70,渠\t0.25\t500\t0.017\t1.0\r\n",
                                         true));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out,
              "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,"
              "check_depth,velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,"
              "message\n"
              "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,45.034,\n"
              "\"U70,渠\",0.25,500,0.017,1.0,error,,,,,,,,,,\"line 3: unknown size 'U70,渠'\"\n");
    EXPECT_EQ(r.err, "");
    // A header with both keeps the comma: a tab is then part of a name.
    const Result mixed =
        Cli({"--batch", "-"}, std::string("size,discharge,slope,roughness,factor\tx\n"));
    EXPECT_EQ(mixed.status, 2);
    EXPECT_EQ(mixed.err, "veltrane-calc: the batch header has no column 'factor'\n");
}

TEST(BatchEncoding, Gb18030IsReadAndSaidOnStderr) {
    // "U70渠" with 渠 as GB18030's C7 FE.
    const Result r = Cli({"--batch", "-"},
                         "size,discharge,slope,roughness,factor\r\n"
                         "U60,0.25,500,0.017,1.0\r\n"
                         "U70\xC7\xFE,0.25,500,0.017,1.0\r\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kExpectedOut);
    EXPECT_EQ(r.err, "veltrane-calc: standard input is not UTF-8; read as GB18030\n");
}

// The longest header a CSV record allows, 1 MiB of characters (the column
// names, then blanks), is read in the encoding that makes it longest in
// bytes: UTF-16BE, whose line break's CR comes last. One character more, and
// the input is no CSV file, said before it is decoded.
TEST(BatchEncoding, TheLongestHeaderInUtf16IsRead) {
    constexpr std::u16string_view kColumns = u"size,discharge,slope,roughness,factor";
    std::u16string header(kColumns);
    header.resize(std::size_t{1} << 20, u' ');
    const std::u16string row = u"\r\nU60,0.25,500,0.017,1.0\r\n";
    const Result longest = Cli({"--batch", "-"}, Utf16Bytes(header + row, false));
    EXPECT_EQ(longest.status, 0) << longest.err;
    EXPECT_EQ(longest.out,
              "size,discharge,slope,roughness,factor,status,check_discharge,design_depth,"
              "check_depth,velocity,surface_width,area,wetted_perimeter,hydraulic_radius,chezy,"
              "message\n"
              "U60,0.25,500,0.017,1.0,report,.25,.516,.516,.904,.657,.277,1.376,.201,45.034,\n");
    const Result longer = Cli({"--batch", "-"}, Utf16Bytes(header + u" " + row, false));
    EXPECT_EQ(longer.status, 2);
    EXPECT_EQ(longer.out, "");
    EXPECT_EQ(longer.err,
              "veltrane-calc: standard input is not a CSV file: its first line is longer than 1 "
              "MiB\n");
}

TEST(DecodeInputText, TheNoticeInEitherLanguageOnlyForGb18030) {
    const InputText gb =
        DecodeInputText("\xD2\xBB\xD6\xA7\xC7\xFE", "canal.csv", views::Language::Chinese);
    EXPECT_EQ(gb.text, "一支渠");
    EXPECT_EQ(gb.notice, "文件不是UTF-8编码，已按GB18030读取。");
    const InputText utf8 =
        DecodeInputText("\xEF\xBB\xBF一支渠", "canal.csv", views::Language::English);
    EXPECT_EQ(utf8.text, "一支渠");
    EXPECT_EQ(utf8.notice, "");
}

}  // namespace
}  // namespace veltrane::cli
