// SPDX-License-Identifier: GPL-3.0-or-later
// A batch or canal file as text: its bytes read whole and decoded to UTF-8
// (a byte order mark for UTF-8, UTF-16LE or UTF-16BE, else UTF-8 when valid,
// else GB18030), and the one thing the user is told about it: that it was
// read as GB18030.
#pragma once

#include <cstddef>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "cli/cli_error.h"
#include "views/language.h"

namespace veltrane::cli {

struct InputText {
    std::string text{};    // UTF-8, without a byte order mark
    std::string notice{};  // "" or "NAME is not UTF-8; read as GB18030" (or its Chinese)
};

// bytes decoded; name is the file's name in the notice.
InputText DecodeInputText(std::string_view bytes, std::string_view name, views::Language language);

// The largest input read, bytes: 256 MiB, some four million rows. The
// input is held whole, so this bounds the memory it takes.
inline constexpr std::size_t kInputLimit = std::size_t{256} << 20;

// Reads the whole of the file at path, or of in when path is "-" (named
// "standard input"), and decodes it. Memory is the input's size, about
// three times over for the moment of decoding: the input is held whole, not
// streamed. The error says "cannot read PATH: REASON"; an input that cannot
// be CSV because its first line outgrows a CSV record ("PATH is not a CSV
// file: its first line is longer than 1 MiB", /dev/zero), or one larger
// than kInputLimit ("PATH is larger than 256 MiB; split it into smaller
// files"), is refused as soon as that is known, not at its end, which an
// endless input never reaches.
Outcome<InputText> ReadInputText(const std::string& path, std::istream& in);

// ReadInputText for --batch and sheet --batch: the text, with the notice,
// if any, said on notices as "veltrane-calc: NOTICE"; the run goes on.
Outcome<std::string> ReadBatchInput(const std::string& path, std::istream& in,
                                    std::ostream& notices);

// The input's name in messages: the path, or "standard input" for "-".
std::string InputName(const std::string& path);

}  // namespace veltrane::cli
