// SPDX-License-Identifier: GPL-3.0-or-later
// The row of any table of a document whose first cell is first, as the
// sheet tests look rows up; empty when there is none.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "sheet/document.h"

namespace veltrane::sheet::test {

inline std::vector<std::string> Row(const Document& doc, std::string_view first) {
    for (const Block& b : doc.blocks) {
        if (const auto* t = std::get_if<Table>(&b)) {
            for (const auto& row : t->rows) {
                if (!row.empty() && row[0] == first) {
                    return row;
                }
            }
        }
    }
    return {};
}

}  // namespace veltrane::sheet::test
