// SPDX-License-Identifier: GPL-3.0-or-later
// How a batch file's bytes become text: the byte order mark first, then
// UTF-8, then GB18030. The bytes are written out as an encoder gives them.
#include <gtest/gtest.h>

#include "views/input_encoding.h"

namespace veltrane::views {
namespace {

using namespace std::string_literals;

TEST(DecodeInput, AByteOrderMarkDecides) {
    const DecodedInput bom = DecodeInput("\xEF\xBB\xBFsize,\xE6\xB8\xA0");
    EXPECT_EQ(bom.encoding, InputEncoding::Utf8);
    EXPECT_EQ(bom.text, "size,渠");
    // "size,渠" as Excel's Unicode text writes it, and big-endian.
    const DecodedInput le = DecodeInput("\xFF\xFEs\0i\0z\0e\0,\0\x20\x6E"s);
    EXPECT_EQ(le.encoding, InputEncoding::Utf16LE);
    EXPECT_EQ(le.text, "size,渠");
    EXPECT_FALSE(le.replaced);
    const DecodedInput be = DecodeInput("\xFE\xFF\0s\0i\0z\0e\0,\x6E\x20"s);
    EXPECT_EQ(be.encoding, InputEncoding::Utf16BE);
    EXPECT_EQ(be.text, "size,渠");
    // A character beyond the basic plane is a surrogate pair: U+1D11E.
    EXPECT_EQ(DecodeInput("\xFE\xFF\xD8\x34\xDD\x1E"s).text, "\xF0\x9D\x84\x9E");
}

TEST(DecodeInput, BrokenUtf16BecomesReplacementCharacters) {
    // A lone high surrogate before "a", and an odd last byte.
    const DecodedInput d = DecodeInput("\xFF\xFE\x34\xD8\x61\x00\x62"s);
    EXPECT_EQ(d.text,
              "\xEF\xBF\xBD"
              "a\xEF\xBF\xBD");
    EXPECT_TRUE(d.replaced);
    EXPECT_EQ(DecodeInput("\xFF\xFE"s).text, "");
}

TEST(DecodeInput, NotUtf8IsReadAsGb18030AndSaid) {
    // "一支渠" in GB18030, and U+0080, which GB18030 writes in four bytes.
    const DecodedInput d = DecodeInput("name\n\xD2\xBB\xD6\xA7\xC7\xFE\n\x81\x30\x81\x30");
    EXPECT_EQ(d.encoding, InputEncoding::Gb18030);
    EXPECT_EQ(d.text, "name\n一支渠\n\xC2\x80");
    EXPECT_EQ(EncodingNotice(d, "canal.csv", Language::Chinese),
              "文件不是UTF-8编码，已按GB18030读取。");
    EXPECT_EQ(EncodingNotice(d, "canal.csv", Language::English),
              "canal.csv is not UTF-8; read as GB18030");
    // What the file declares, or valid UTF-8, needs no word.
    EXPECT_EQ(EncodingNotice(DecodeInput("size"), "x", Language::Chinese), "");
    EXPECT_EQ(EncodingNotice(DecodeInput("\xFF\xFE"s), "x", Language::Chinese), "");
}

TEST(IsUtf8, RejectsWhatADecoderMustNotAccept) {
    EXPECT_TRUE(IsUtf8("ascii, 渠, \xF0\x9D\x84\x9E"));
    EXPECT_TRUE(IsUtf8(""));
    EXPECT_FALSE(IsUtf8("\xC0\x80"));          // overlong NUL
    EXPECT_FALSE(IsUtf8("\xE0\x80\xAF"));      // overlong '/'
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(IsUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
    EXPECT_FALSE(IsUtf8("\xE6\xB8"));          // cut short at the end
    EXPECT_FALSE(IsUtf8("\xE6\x41\xA0"));      // a continuation missing
    EXPECT_FALSE(IsUtf8("\xFF"));
}

}  // namespace
}  // namespace veltrane::views
