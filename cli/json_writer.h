// SPDX-License-Identifier: GPL-3.0-or-later
// The one JSON writer of veltrane-calc: objects and arrays written in order,
// with the commas between members put in by the writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane::cli {

class JsonWriter {
  public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The name of the next member of the current object.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view text);
    // The shortest digits that read back to the same double, as a plain
    // decimal from 1e-7 up to 1e21 and with an exponent beyond, or null for
    // a value JSON cannot hold (infinity, NaN).
    JsonWriter& Number(double value);
    JsonWriter& Null();
    // A value another JsonWriter wrote whole, as it stands.
    JsonWriter& Raw(std::string_view json);
    JsonWriter& Bool(bool value);
    JsonWriter& Member(std::string_view name, double value) { return Key(name).Number(value); }
    JsonWriter& Member(std::string_view name, std::string_view text) {
        return Key(name).String(text);
    }
    JsonWriter& Member(std::string_view name, const char* text) { return Key(name).String(text); }
    // Not through double: a bool is true or false.
    JsonWriter& Member(std::string_view name, bool value) { return Key(name).Bool(value); }

    const std::string& text() const { return out_; }

  private:
    void BeforeValue();

    std::string out_;
    std::vector<bool> hasMembers_;  // per open object or array
    bool afterKey_ = false;
};

// Appends text as a JSON string literal, quotes included. UTF-8 passes
// through; control characters are escaped.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace veltrane::cli
