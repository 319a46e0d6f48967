// SPDX-License-Identifier: GPL-3.0-or-later
#include "hydraulics/section_catalogue.h"

#include <string>

#include "hydraulics/section_dimensions.h"

namespace veltrane {

// Each decimal is the nearest double to the literal; alphaPi and betaPi are
// α · 3.141592654 and (90 − α) · 3.141592654 to nine places.
const std::array<USection, kSectionCount> SectionCatalogue = {{
    {SectionSize::U60, 0.3, 0.6, 21.991148578, 166, 260.752190282, 0.54, 3.1415926, 3, "0.25",
     "显示计算成果： U60形渠道构件。", "显示计算成果： U60形渠道构件。 ", CalcWindow::Form2,
     " Veltrane U60----Dorvane", "U60形渠道构件", "U60", kDimensionTable[0]},
    {SectionSize::U80, 0.4, 0.8, 25.132741232, 164, 257.610597628, 0.64, 3.141592654, 4, "0.4",
     "显示计算成果： U80形渠道构件。", "显示计算成果： U80形渠道构件。 ", CalcWindow::Form3,
     " Veltrane U80----Dorvane", "U80形渠道构件", "U80", kDimensionTable[1]},
    {SectionSize::U100, 0.5, 1.0, 28.274333886, 162, 254.469004974, 0.75, 3.141592654, 4, "0.55",
     "显示计算成果： U100形渠道构件。", "显示计算成果： U100形渠道构件。 ", CalcWindow::Form4,
     " Veltrane U100----Dorvane", "U100形渠道构件", "U100", kDimensionTable[2]},
    {SectionSize::U120, 0.6, 1.2, 31.41592654, 160, 251.32741232, 0.9, 3.141592654, 4, "0.90",
     "显示计算成果： U120形渠道构件。", "显示计算成果： U120形渠道构件。 ", CalcWindow::Form5,
     "Veltrane U120----Dorvane", "U120形渠道构件", "U120", kDimensionTable[3]},
    {SectionSize::U140, 0.7, 1.4, 34.557519194, 158, 248.185819666, 1.05, 3.141592654, 4, "1.20",
     "显示计算成果： U140形渠道构件。", "显示计算成果： U140形渠道构件。 ", CalcWindow::Form7,
     "Veltrane U140----Dorvane", "U140形渠道构件", "U140", kDimensionTable[4]},
}};

const USection& LookupSection(SectionSize size) {
    return SectionCatalogue[static_cast<std::size_t>(size)];
}

std::span<const USection* const> StandardSections() {
    static const std::array<const USection*, kSectionCount> rows = {
        &SectionCatalogue[0], &SectionCatalogue[1], &SectionCatalogue[2], &SectionCatalogue[3],
        &SectionCatalogue[4]};
    return rows;
}

bool SameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    const auto upper = [](char c) {
        return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    };
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(a[i]) != upper(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view SectionName(SectionSize size) {
    return LookupSection(size).name;
}

std::optional<SectionSize> ParseSectionName(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    // The main window names the sizes D60 … D140; both letters name the same row.
    std::string canonical(text);
    if (canonical[0] == 'd' || canonical[0] == 'D') {
        canonical[0] = 'U';
    }
    for (int i = 0; i < kSectionCount; ++i) {
        if (SameIgnoringAsciiCase(canonical, SectionCatalogue[static_cast<std::size_t>(i)].name)) {
            return static_cast<SectionSize>(i);
        }
    }
    return std::nullopt;
}

}  // namespace veltrane
