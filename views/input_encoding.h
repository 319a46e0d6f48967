// SPDX-License-Identifier: GPL-3.0-or-later
// How a batch or canal file is read: a byte order mark decides UTF-8,
// UTF-16LE or UTF-16BE (Excel's "Unicode text" is UTF-16LE with one);
// otherwise the bytes are UTF-8 if they are valid UTF-8, else GB18030, as a
// spreadsheet on a Chinese system saves CSV. Only the GB18030 fallback is
// said to the user; the others are what the file says it is.
#pragma once

#include <string>
#include <string_view>

#include "views/language.h"

namespace veltrane::views {

enum class InputEncoding { Utf8, Utf16LE, Utf16BE, Gb18030 };

struct DecodedInput {
    std::string text{};  // UTF-8, without a byte order mark
    InputEncoding encoding = InputEncoding::Utf8;
    // Bytes that do not belong to the encoding (an odd last byte of UTF-16, a
    // lone surrogate, an invalid GB18030 sequence) each became U+FFFD.
    bool replaced = false;
};

DecodedInput DecodeInput(std::string_view bytes);

// True when bytes are UTF-8 throughout (no overlong forms, no surrogates).
bool IsUtf8(std::string_view bytes);

// What the user is told about the reading, or "" when nothing needs saying:
// "文件不是UTF-8编码，已按GB18030读取。" / "NAME is not UTF-8; read as GB18030".
std::string EncodingNotice(const DecodedInput& input, std::string_view name, Language language);

}  // namespace veltrane::views
