// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/markup.h"
#include "hydraulics/float_chars.h"

#include <charconv>
#include <string>

namespace veltrane::sheet {

namespace {

// Length of the well-formed UTF-8 sequence at the start of text that XML 1.0
// allows, or 0: no C0 control but tab, line feed and carriage return, no
// surrogate, no U+FFFE or U+FFFF, no overlong form.
std::size_t XmlCharLength(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char b0 = byte(0);
    if (b0 < 0x80) {
        return b0 >= 0x20 || b0 == '\t' || b0 == '\n' || b0 == '\r' ? 1 : 0;
    }
    std::size_t length = 0;
    char32_t code = 0;
    char32_t smallest = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2, code = b0 & 0x1Fu, smallest = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3, code = b0 & 0x0Fu, smallest = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4, code = b0 & 0x07u, smallest = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool allowed = code >= smallest && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF) &&
                         code != 0xFFFE && code != 0xFFFF;
    return allowed ? length : 0;
}

}  // namespace

std::string EscapeMarkup(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t length = XmlCharLength(text);
        if (length == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        switch (text[0]) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\t':
            case '\n':
            case '\r':
                out += "&#" + std::to_string(static_cast<int>(text[0])) + ";";
                break;
            default:
                out.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return out;
}

std::string SvgNumber(double value) {
    char buffer[48];
    const auto end = ToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return std::string(buffer, end.ptr);
}

std::string TickNumber(double value) {
    char buffer[64];
    const auto end = ToChars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    std::string text(buffer, end.ptr);
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text == "-0" ? "0" : text;
}

std::vector<FormulaPiece> FormulaPieces(std::string_view text) {
    std::vector<FormulaPiece> pieces;
    std::string_view::size_type from = 0;
    for (auto at = text.find("^{"); at != std::string_view::npos; at = text.find("^{", from)) {
        const auto end = text.find('}', at);
        if (end == std::string_view::npos) {
            break;
        }
        pieces.push_back({text.substr(from, at - from), false});
        pieces.push_back({text.substr(at + 2, end - at - 2), true});
        from = end + 1;
    }
    pieces.push_back({text.substr(from), false});
    return pieces;
}

}  // namespace veltrane::sheet
