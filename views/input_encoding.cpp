// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/input_encoding.h"

#include <cstdint>

#if __has_include(<iconv.h>)
#include <iconv.h>
#define VELTRANE_HAVE_ICONV 1
#endif

namespace veltrane::views {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

DecodedInput FromUtf16(std::string_view bytes, bool littleEndian) {
    DecodedInput d{.encoding = littleEndian ? InputEncoding::Utf16LE : InputEncoding::Utf16BE};
    d.text.reserve(bytes.size() / 2 * 3);
    const auto unit = [&](std::size_t i) {
        const auto a = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
        const auto b = static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1]));
        return littleEndian ? a | (b << 8) : (a << 8) | b;
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t u = unit(i);
        if (u >= 0xD800 && u < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(d.text, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        if (u >= 0xD800 && u < 0xE000) {
            d.text += kReplacement;
            d.replaced = true;
            continue;
        }
        AppendUtf8(d.text, u);
    }
    if (i < bytes.size()) {
        d.text += kReplacement;
        d.replaced = true;
    }
    return d;
}

DecodedInput FromGb18030(std::string_view bytes) {
    DecodedInput d{.encoding = InputEncoding::Gb18030};
#ifdef VELTRANE_HAVE_ICONV
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd != reinterpret_cast<iconv_t>(-1)) {
        std::string out(bytes.size() * 2 + 16, '\0');
        char* in = const_cast<char*>(bytes.data());  // iconv's old signature; not written
        std::size_t inLeft = bytes.size();
        std::size_t done = 0;
        while (inLeft > 0) {
            char* to = out.data() + done;
            std::size_t outLeft = out.size() - done;
            const std::size_t r = iconv(cd, &in, &inLeft, &to, &outLeft);
            done = out.size() - outLeft;
            if (r != static_cast<std::size_t>(-1)) {
                break;
            }
            if (outLeft < 16) {
                out.resize(out.size() * 2);
            } else {
                // An invalid or cut sequence: one byte becomes U+FFFD.
                out.replace(done, kReplacement.size(), kReplacement);
                done += kReplacement.size();
                ++in;
                --inLeft;
                d.replaced = true;
            }
        }
        iconv_close(cd);
        out.resize(done);
        d.text = std::move(out);
        return d;
    }
#endif
    // No converter: every byte beyond ASCII is unreadable.
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            d.text += c;
        } else {
            d.text += kReplacement;
            d.replaced = true;
        }
    }
    return d;
}

}  // namespace

bool IsUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            n = 1;
            cp = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 2;
            cp = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 3;
            cp = c & 0x07u;
        } else {
            return false;
        }
        if (n >= s.size() - i) {
            return false;  // cut short at the end
        }
        for (std::size_t k = 1; k <= n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (t & 0x3Fu);
        }
        if ((n == 2 && (cp < 0x800 || (cp >= 0xD800 && cp < 0xE000))) ||
            (n == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

DecodedInput DecodeInput(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        return {.text = std::string(bytes.substr(3)), .encoding = InputEncoding::Utf8};
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") {
        return FromUtf16(bytes.substr(2), true);
    }
    if (bytes.substr(0, 2) == "\xFE\xFF") {
        return FromUtf16(bytes.substr(2), false);
    }
    if (IsUtf8(bytes)) {
        return {.text = std::string(bytes), .encoding = InputEncoding::Utf8};
    }
    return FromGb18030(bytes);
}

std::string EncodingNotice(const DecodedInput& input, std::string_view name, Language language) {
    if (input.encoding != InputEncoding::Gb18030) {
        return {};
    }
    if (language == Language::English) {
        return std::string(name) + " is not UTF-8; read as GB18030";
    }
    return "文件不是UTF-8编码，已按GB18030读取。";
}

}  // namespace veltrane::views
