// SPDX-License-Identifier: GPL-3.0-or-later
// What "in Chinese" means for a text a user reads: every run of ASCII letters
// in it is a unit, a symbol of the calculation, a size or a file format's
// name. Shared by the tests of the views, the sheet and the program.
#pragma once

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

namespace veltrane::testing {

// The ASCII words a Chinese text may hold.
inline constexpr std::array<std::string_view, 46> kAllowedAsciiWords = {
    // units
    "m", "s", "cm",
    // symbols of the calculation and its sheet
    "h", "Q", "kQ", "V", "b", "A", "X", "R", "C", "H", "Fr", "hk", "n", "x", "k", "g", "r", "t",
    "d", "B", "i", "sin", "cos", "tan", "arctan",
    // the dimension table's names of the sizes
    "D",
    // sizes, formats and encodings
    "U", "UTF", "GB", "HTML", "PDF", "SVG", "PNG", "CSV", "DXF", "Word",
    // the batch file's column names, which a file must spell so
    "size", "discharge", "slope", "roughness", "factor", "name", "station"};

// The first run of ASCII letters in text that is not allowed, or "".
inline std::string ForeignWord(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto letter = [&](std::size_t k) {
            const char c = text[k];
            return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        };
        if (!letter(i)) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && letter(end)) {
            ++end;
        }
        const std::string_view word = text.substr(i, end - i);
        if (std::find(kAllowedAsciiWords.begin(), kAllowedAsciiWords.end(), word) ==
            kAllowedAsciiWords.end()) {
            return std::string(word);
        }
        i = end;
    }
    return {};
}

// text without the first occurrence of echoed (a user's own text, quoted back).
inline std::string Without(std::string text, std::string_view echoed) {
    if (const auto at = text.find(echoed); !echoed.empty() && at != std::string::npos) {
        text.erase(at, echoed.size());
    }
    return text;
}

}  // namespace veltrane::testing
