// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as every text of a calculation sheet,
// the four box texts and the reach's details. Whatever they hold, the HTML
// is valid UTF-8 without control characters, every '<' it holds opens a tag
// the writer wrote (so no typed text became markup), and a rejected input
// gives a sheet with nothing but the rejection.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "sheet/html_writer.h"
#include "sheet/sheet_builder.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Well-formed UTF-8 with no C0 control character but line feed.
bool CleanUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t length = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
        if (length == 0 || i + length > s.size() || (b < 0x20 && b != '\n')) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veltrane;
    if (size == 0) {
        return 0;
    }
    // The first byte picks the size; the rest splits at NUL bytes into the
    // discharge, slope, roughness and factor texts, then the reach's details.
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::string texts[9];
    for (auto& text : texts) {
        const std::size_t end = rest.find('\0');
        text = std::string(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    // Bit 0x40 asks for a user's section of that byte's dimensions, named by
    // the channel's text where that is a good name.
    SectionRef section = StandardRef(static_cast<SectionSize>(data[0] % kSectionCount));
    if (data[0] & 0x40) {
        const double radius = 0.2 + (data[0] % 7) * 0.1;
        SectionDefinition definition{.name = texts[5].empty() ? std::string("F") : texts[5],
                                     .radius = radius,
                                     .alphaDeg = static_cast<double>(data[0] % 40),
                                     .depth = radius * 1.5};
        if (SectionRef own = MakeUserSection(definition)) {
            section = std::move(own);
        }
    }
    sheet::SheetRequest r{.section = section,
                          .discharge = texts[0],
                          .slope = texts[1],
                          .roughness = texts[2],
                          .factor = texts[3],
                          .reach = {.project = texts[4],
                                    .channel = texts[5],
                                    .station = texts[6],
                                    .designer = texts[7],
                                    .date = texts[8]}};
    if (data[0] & 0x80) {
        r.criteria.minFreeboard = 0.05;
        r.criteria.minVelocity = 0.3;
    }
    const sheet::Document doc = sheet::BuildSheet(r);
    const std::string html = sheet::WriteHtml(doc);
    Require(CleanUtf8(html));
    Require(std::count(html.begin(), html.end(), '<') == std::count(html.begin(), html.end(), '>'));
    const bool rejected = std::any_of(doc.blocks.begin(), doc.blocks.end(), [](const auto& b) {
        const auto* h = std::get_if<sheet::Heading>(&b);
        return h != nullptr && h->text == "输入被拒绝";
    });
    const bool drawn = std::any_of(doc.blocks.begin(), doc.blocks.end(), [](const auto& b) {
        return std::holds_alternative<sheet::Drawing>(b);
    });
    Require(rejected != drawn);
    return 0;
}
