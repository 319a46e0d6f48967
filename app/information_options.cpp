// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/information_options.h"

namespace veltrane {

std::string_view ProgramHelpText() {
    return "Usage: veltrane [-h | --help | --version]\n"
           "The Veltrane program: uniform-flow depths of the standard precast U-channels\n"
           "U60 to U140, in Chinese, in its welcome, main and calculation windows.\n"
           "\n"
           "  -h, --help   show this text and end\n"
           "  --version    show the version and end\n"
           "\n"
           "Qt's own options (-platform NAME, -display DISPLAY) are accepted as well.\n"
           "The same calculation from a shell, with the calculation sheet: veltrane-calc.\n"
           "See veltrane(1) and veltrane-calc(1).\n";
}

std::optional<int> AnswerInformationOptions(int argc, const char* const* argv, std::ostream& out,
                                            std::string_view version) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view a = argv[i];
        if (a == "-h" || a == "--help") {
            out << ProgramHelpText();
            return 0;
        }
        if (a == "--version") {
            out << "veltrane " << version << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace veltrane
