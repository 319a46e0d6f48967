// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/size_operand.h"

#include <string>

namespace veltrane::cli {

Outcome<SectionSize> SizeOperand(std::string_view text) {
    // Blanks around the name are ignored, as in a batch file's size column.
    std::string_view name = text;
    const auto first = name.find_first_not_of(" \t");
    name = first == std::string_view::npos
               ? std::string_view()
               : name.substr(first, name.find_last_not_of(" \t") - first + 1);
    if (const auto size = ParseSectionName(name)) {
        return *size;
    }
    return UsageError("unknown size " + std::string(text));
}

}  // namespace veltrane::cli
