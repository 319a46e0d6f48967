// SPDX-License-Identifier: GPL-3.0-or-later
// A package of parts as a zip archive in memory (a .docx is one), through
// libzip. Every entry is dated the same, so that the same parts always give
// the same bytes.
#pragma once

#include <string>
#include <vector>

#include "handoff/docx_parts.h"

namespace veltrane::handoff {

struct ZipOutput {
    std::string bytes;
    std::string error;  // libzip's words where it failed; "" on success
};

ZipOutput ZipParts(const std::vector<DocxPart>& parts);

}  // namespace veltrane::handoff
