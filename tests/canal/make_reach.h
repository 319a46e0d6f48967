// SPDX-License-Identifier: GPL-3.0-or-later
// A canal reach of a standard section for the tests: its bed continues from
// the reach above, without a local loss or a required level.
#pragma once

#include <string>

#include "canal/canal_model.h"
#include "hydraulics/section_catalogue.h"

namespace veltrane::canal::testing {

// length in m, x of the slope 1/x, n Manning's roughness, q in m³/s.
inline Reach MakeReach(const std::string& name, SectionSize size, double length, double x, double n,
                       double q) {
    Reach r;
    r.name = name;
    r.sizeName = std::string(SectionName(size));
    r.shape = SectionShape::Of(LookupSection(size));
    r.section = StandardRef(size);
    r.length = length;
    r.slope = x;
    r.roughness = n;
    r.discharge = q;
    return r;
}

}  // namespace veltrane::canal::testing
