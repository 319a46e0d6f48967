// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/size_operand.h"

#include <string>

namespace veltrane::cli {

Outcome<SectionSize> SizeOperand(std::string_view text) {
    if (const auto size = ParseSectionName(text)) {
        return *size;
    }
    return UsageError("unknown size " + std::string(text));
}

}  // namespace veltrane::cli
