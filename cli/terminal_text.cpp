// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/terminal_text.h"

namespace veltrane::cli {

std::string TerminalText(std::string_view text) {
    static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && c != '\n') || c == 0x7F) {
            out += kReplacement;
        } else if (c == 0xC2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            out += kReplacement;  // a C1 control, U+0080 … U+009F
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace veltrane::cli
