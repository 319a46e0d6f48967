// SPDX-License-Identifier: GPL-3.0-or-later
// Text for HTML, XML and SVG, from texts the user typed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace veltrane::sheet {

// text as character data or an attribute value: & < > " escaped, tab, line
// feed and carriage return as character references, and anything XML cannot
// carry (other control characters, broken UTF-8, surrogates, U+FFFE and
// U+FFFF) as U+FFFD. The result always parses, and never as markup.
std::string EscapeMarkup(std::string_view text);

// A formula block's text (see Paragraph in document.h) in pieces: plain
// text, and the exponents its "^{…}" mark; an unclosed "^{" is plain text.
struct FormulaPiece {
    std::string_view text;
    bool superscript = false;
};
std::vector<FormulaPiece> FormulaPieces(std::string_view text);

// A coordinate of a drawing, to 0.01 unit, with a point whatever the locale.
std::string SvgNumber(double value);

// An axis label: the value to at most six decimals, without trailing zeros,
// so that 3 × 0.1 reads 0.3.
std::string TickNumber(double value);

}  // namespace veltrane::sheet
