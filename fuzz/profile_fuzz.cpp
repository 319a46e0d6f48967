// SPDX-License-Identifier: GPL-3.0-or-later
// libFuzzer target: arbitrary bytes as a canal profile file. Whatever they
// hold, reading names a problem or gives reaches; a canal that reads is
// computed for Q and kQ with every depth finite and positive, the stations
// in chainage order from 0 to the canal's length, and its drawing holds no
// typed text as markup.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "canal/water_surface.h"
#include "cli/input_text.h"
#include "cli/profile_rows.h"
#include "sheet/profile_svg.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace veltrane;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const cli::InputText text = cli::DecodeInputText(bytes, "fuzz", views::Language::English);
    cli::ProfileReading reading = cli::ReadProfileRows(text.text);
    if (!reading.ok()) {
        for (const views::ProfileProblem& p : reading.problems) {
            Require(!views::ProfileProblemText(p, views::Language::Chinese).empty());
        }
        return 0;
    }
    canal::CanalRequest request;
    request.reaches = std::move(reading.reaches);
    request.factor = 1 + (size % 11) / 10.0;
    request.spacing = 50;
    double length = 0;
    for (const canal::Reach& r : request.reaches) {
        length += r.length;
    }
    if (length > 20000 || request.reaches.size() > 50) {
        return 0;  // the fuzzer's time goes to odd values, not to long canals
    }
    request.end.kind = static_cast<canal::EndCondition>(size % 3);
    request.end.level = request.reaches.back().bed.value_or(0) - 1;
    const canal::CanalProfile p = canal::ComputeProfile(request);
    Require(p.flows.size() == 2);
    for (const canal::FlowProfile& flow : p.flows) {
        Require(!flow.stations.empty());
        Require(flow.stations.front().chainage == 0);
        Require(std::fabs(flow.stations.back().chainage - length) <= 1e-6 * (1 + length));
        for (std::size_t i = 0; i < flow.stations.size(); ++i) {
            const canal::Station& s = flow.stations[i];
            Require(std::isfinite(s.depth) && s.depth > 0 && std::isfinite(s.level));
            Require(i == 0 || s.chainage >= flow.stations[i - 1].chainage);
        }
    }
    const std::string svg = sheet::LongitudinalProfileSvg(request, p);
    Require(svg.find("<script") == std::string::npos);
    return 0;
}
