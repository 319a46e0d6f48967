// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/batch_table_text.h"

#include <utility>

namespace veltrane::views {

std::string_view BatchStatusText(std::string_view status) {
    constexpr std::pair<std::string_view, std::string_view> kStatuses[] = {
        {"report", "计算成果"}, {"message", "程序提示"}, {"error", "无法计算"}};
    for (const auto& [word, chinese] : kStatuses) {
        if (word == status) {
            return chinese;
        }
    }
    return status;
}

}  // namespace veltrane::views
