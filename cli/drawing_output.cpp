// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/drawing_output.h"

#include "cli/output_file.h"
#ifdef VELTRANE_CLI_HANDOFF
#include "handoff/section_dxf.h"
#endif

namespace veltrane::cli {

std::string DrawingDxf(const std::vector<sheet::SvgPanel>& panels, const std::string& title) {
#ifdef VELTRANE_CLI_HANDOFF
    return handoff::SectionsDxf(panels, title);
#else
    (void)panels;
    (void)title;
    return {};
#endif
}

Step SaveDrawing(const CommandLine& c, const std::function<std::string()>& svg,
                 const std::function<std::string()>& dxf) {
    if (c.svg) {
        if (Step saved = WriteOutputFile(*c.svg, svg(), c.force); !saved) {
            return saved;
        }
    }
    if (c.dxf) {
#ifdef VELTRANE_CLI_HANDOFF
        return WriteOutputFile(*c.dxf, dxf(), c.force);
#else
        (void)dxf;
        return UsageError("this veltrane-calc was built without DXF output");
#endif
    }
    return Done{};
}

}  // namespace veltrane::cli
