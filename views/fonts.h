// SPDX-License-Identifier: GPL-3.0-or-later
// The Song face the windows, the drawings and the sheets are laid out for:
// SimSun where Windows has it, else its nearest kin on Debian (AR PL UMing has
// SimSun's 12-pixel grid at 9 pt), else any CJK serif.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace veltrane::views {

// In order of preference.
inline constexpr std::array<std::string_view, 4> kSongFaces = {
    "SimSun", "AR PL UMing CN", "AR PL UMing TW", "Noto Serif CJK SC"};

// Past the Song faces, CJK faces that hold every glyph the windows draw,
// for a system that has no Song face at all: Debian's, then macOS's and
// Windows' own (for the page).
inline constexpr std::array<std::string_view, 4> kFallbackFaces = {
    "Noto Sans CJK SC", "WenQuanYi Zen Hei", "PingFang SC", "Microsoft YaHei"};

// The faces as a CSS font-family list ending in generic ("serif",
// "monospace"); quote is the quote character for names with blanks (' inside
// an XML attribute, " in a style sheet).
std::string FontFamilyList(std::string_view generic, char quote);

// The Song faces, then the fallbacks, then generic: for a web page, which
// may be opened on any system.
std::string PageFontFamilyList(std::string_view generic);

// The font-family attribute every drawing carries: font-family="…".
std::string SvgFontAttribute();

// A drawing with its font list reduced to the first face, for readers that
// take a font-family list as one name (Qt SVG); the face's substitutes are
// then the reader's to find.
std::string WithSingleFontFace(std::string svg);

}  // namespace veltrane::views
