// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/size_operand.h"

#include <string>

#include "cli/section_catalogue_file.h"

namespace veltrane::cli {

Outcome<SectionRef> SizeOperand(std::string_view text, const SectionSet& sections) {
    if (IsSectionOperand(text)) {
        const OperandReading reading = ReadSectionOperand(text);
        if (!reading.problems.empty()) {
            // The first problem: the others are usually the same slip.
            return UsageError(
                "size " + std::string(text) + ": " +
                views::SectionProblemText(reading.problems.front(), views::Language::English));
        }
        // A report headed with a catalogue section's name must be of that
        // section, not of other dimensions given the same name.
        if (sections.Find(reading.definition.name)) {
            return UsageError("size " + std::string(text) + ": the name " +
                              reading.definition.name + " is a catalogue section's");
        }
        return MakeUserSection(reading.definition);
    }
    // Blanks around the name are ignored, as in a batch file's size column.
    if (SectionRef found = sections.Find(text)) {
        return found;
    }
    return UsageError("unknown size " + std::string(text));
}

}  // namespace veltrane::cli
