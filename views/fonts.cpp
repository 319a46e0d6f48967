// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/fonts.h"

namespace veltrane::views {

std::string FontFamilyList(std::string_view generic, char quote) {
    std::string out;
    for (std::string_view face : kSongFaces) {
        const bool blanks = face.find(' ') != std::string_view::npos;
        if (blanks) {
            out += quote;
        }
        out += face;
        if (blanks) {
            out += quote;
        }
        out += ", ";
    }
    return out += generic;
}

std::string PageFontFamilyList(std::string_view generic) {
    std::string out;
    for (std::string_view face : kFallbackFaces) {
        out += ", \"" + std::string(face) + "\"";
    }
    const std::string song = FontFamilyList(generic, '"');
    const std::size_t last = song.rfind(", ");
    return song.substr(0, last) + out + song.substr(last);
}

std::string SvgFontAttribute() {
    return "font-family=\"" + FontFamilyList("serif", '\'') + "\"";
}

std::string WithSingleFontFace(std::string svg) {
    const std::string full = SvgFontAttribute();
    const std::string single = "font-family=\"" + std::string(kSongFaces[0]) + "\"";
    for (std::size_t at = svg.find(full); at != std::string::npos;
         at = svg.find(full, at + single.size())) {
        svg.replace(at, full.size(), single);
    }
    return svg;
}

}  // namespace veltrane::views
