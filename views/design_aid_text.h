// SPDX-License-Identifier: GPL-3.0-or-later
// The design aids' answers in words, as the program's 按坡度/流量选型 dialog
// and the web page show them: the largest discharge at the window's slope,
// and the range of slopes for its discharge, each with the report at its end;
// and why none serves, in either voice.
#pragma once

#include <string>
#include <string_view>

#include "hydraulics/design_aids.h"
#include "views/language.h"

namespace veltrane::views {

// Why a design aid found nothing. English, as veltrane-calc prints it: "even
// at 1/10 the design depth exceeds H = 0.64 m". Chinese: "纵坡陡至 1/10 时设计
// 水深仍大于渠深 H = 0.64 m".
std::string ServeFailureText(const ServeFailure& failure, Language language);

// "纵坡 1/500 下的最大设计流量：Q = 0.2677 m³/s", a blank line and the report;
// why none serves; or the message of a rejected text. slope as typed.
std::string CapacityText(std::string_view slope, const CapacityResult& result);

// "适用纵坡：1/10 ～ 1/573" and the reports at both ends; why none serves; or
// the message of a rejected text.
std::string SlopeRangeText(const SlopeRange& range);

}  // namespace veltrane::views
