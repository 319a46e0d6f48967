// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/dates.h"

#include <ctime>

namespace veltrane::views {

std::string SheetDate(int year, int month, int day) {
    return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

std::string Today() {
    const std::time_t now = std::time(nullptr);
    const std::tm* local = std::localtime(&now);
    if (local == nullptr) {
        return {};
    }
    return SheetDate(local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
}

}  // namespace veltrane::views
