// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/page_requests.h"

#include <charconv>

#include "hydraulics/section_catalogue.h"

namespace veltrane::views {

std::string SizeIndexProblemText(std::string_view index) {
    return "规格序号“" + std::string(index) + "”无效：须为 0 至 " +
           std::to_string(kSectionCount - 1) + " 的整数（0 为 " +
           std::string(SectionCatalogue.front().name) + "，" + std::to_string(kSectionCount - 1) +
           " 为 " + std::string(SectionCatalogue.back().name) + "）。";
}

std::optional<std::vector<long>> ReadSlopeList(std::string_view text) {
    std::vector<long> slopes;
    while (true) {
        const auto comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        long x = 0;
        const auto parsed = std::from_chars(item.data(), item.data() + item.size(), x);
        if (item.empty() || parsed.ec != std::errc() || parsed.ptr != item.data() + item.size() ||
            x < 1 || x > kLargestSlope || slopes.size() == kMostSlopes) {
            return std::nullopt;
        }
        slopes.push_back(x);
        if (comma == std::string_view::npos) {
            return slopes;
        }
        text.remove_prefix(comma + 1);
        if (text.empty()) {
            return slopes;  // a comma at the end, as a list is often typed
        }
    }
}

std::string SlopeListProblemText(std::string_view text) {
    return "选型表纵坡“" + std::string(text) + "”无效：须为 1 至 " + std::to_string(kLargestSlope) +
           " 的整数，以逗号分隔，最多 " + std::to_string(kMostSlopes) + " 个。";
}

}  // namespace veltrane::views
