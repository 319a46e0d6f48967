// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON writer: what a user typed comes back intact after any reader's
// JSON.parse, quotes, backslashes and line breaks included.
#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace veltrane::cli {
namespace {

// A drawing's title and a reach's details, as the page receives them.
TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    JsonWriter j;
    j.BeginObject();
    j.Member("title", "U60  \"设计\" Q = 0.25");
    j.Key("reach").BeginObject();
    j.Member("channel", "D:\\渠道\\一支渠");
    j.Member("station", "0+000\t1+200\r\n\x01\x1f");
    j.EndObject();
    j.Key("values").BeginArray().Number(0.25).Null().Bool(false).EndArray();
    j.EndObject();
    EXPECT_EQ(j.text(),
              R"({"title":"U60  \"设计\" Q = 0.25",)"
              R"("reach":{"channel":"D:\\渠道\\一支渠","station":"0+000\t1+200\r\n\u0001\u001f"},)"
              R"("values":[0.25,null,false]})");
}

TEST(JsonWriter, KeysAreEscapedAndNonFiniteNumbersAreNull) {
    JsonWriter j;
    j.BeginObject().Member("a\"b\\", 1.0 / 0.0).Member("n", -0.5).EndObject();
    EXPECT_EQ(j.text(), R"({"a\"b\\":null,"n":-0.5})");
}

// Plain decimals as a person reads them (and as JavaScript prints numbers),
// the exponent only below 1e-7 and from 1e21 on; always the shortest digits
// that read back to the same double.
TEST(JsonWriter, NumbersArePlainDecimalsInTheReadableRange) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {100000, "100000"},     {1e14, "100000000000000"},  {1e20, "100000000000000000000"},
        {1e21, "1e+21"},        {123456.789, "123456.789"}, {0.000001, "0.000001"},
        {-2.5e-5, "-0.000025"}, {1.5e-7, "0.00000015"},     {1e-7, "0.0000001"},
        {9.9e-8, "9.9e-08"},    {0.017, "0.017"},           {0, "0"},
        {-1234.5, "-1234.5"},
    };
    for (const auto& c : cases) {
        JsonWriter j;
        j.Number(c.value);
        EXPECT_EQ(j.text(), c.text) << c.text;
    }
}

}  // namespace
}  // namespace veltrane::cli
