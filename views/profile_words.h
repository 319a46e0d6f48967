// SPDX-License-Identifier: GPL-3.0-or-later
// The words of the canal's water surface (水面线): the columns of a canal
// profile file, what can be wrong with one, the curve types and the flows.
// English for veltrane-calc; Chinese for the sheet, the program and the page.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "canal/canal_model.h"
#include "views/language.h"

namespace veltrane::views {

enum class ProfileColumn { Name, Length, Size, Slope, Roughness, Discharge, Bed, Loss, Level };

struct ProfileColumnInfo {
    ProfileColumn column;
    std::string_view key;      // the header's English name
    std::string_view chinese;  // the header's Chinese name, accepted alike
    bool required;
    std::string_view heading;  // over a table's column, with the unit
};

inline constexpr std::array<ProfileColumnInfo, 9> kProfileColumns = {{
    // clang-format off
    {.column = ProfileColumn::Name, .key = "name", .chinese = "渠段名称", .required = true, .heading = "渠段名称"},
    {.column = ProfileColumn::Length, .key = "length", .chinese = "长度", .required = true, .heading = "长度 (m)"},
    {.column = ProfileColumn::Size, .key = "size", .chinese = "断面", .required = true, .heading = "断面"},
    {.column = ProfileColumn::Slope, .key = "slope", .chinese = "纵坡", .required = true, .heading = "纵坡 1/x 的 x"},
    {.column = ProfileColumn::Roughness, .key = "roughness", .chinese = "糙率", .required = true, .heading = "糙率 n"},
    {.column = ProfileColumn::Discharge, .key = "discharge", .chinese = "设计流量", .required = true, .heading = "设计流量 (m³/s)"},
    {.column = ProfileColumn::Bed, .key = "bed", .chinese = "渠底高程", .required = false, .heading = "起点渠底高程 (m)"},
    {.column = ProfileColumn::Loss, .key = "loss", .chinese = "局部损失系数", .required = false, .heading = "局部损失系数 ξ"},
    {.column = ProfileColumn::Level, .key = "level", .chinese = "要求水位", .required = false, .heading = "要求水位 (m)"},
    // clang-format on
}};

const ProfileColumnInfo& InfoOf(ProfileColumn column);

struct ProfileProblem {
    enum class Kind {
        // The file.
        Empty,            // no header
        MissingColumn,    // column
        DuplicateColumn,  // column
        NoReaches,        // a header and no row
        // A row: line, and column where one is at fault.
        UnclosedQuote,
        TooLong,      // count: the limit, bytes
        FieldCount,   // count: the row's fields, width: the header's
        Missing,      // a required value left empty
        NotANumber,   // text
        NotPositive,  // text: a length, slope, roughness or discharge of 0 or less
        Negative,     // text: a loss coefficient below 0
        OutOfRange,   // text, beyond [low, high]: outside what the profile computes
        UnknownSize,  // text
        BedRises,     // text; bedAbove: the bed at the end of the reach above, m
    };
    Kind kind = Kind::Empty;
    std::size_t line = 0;
    ProfileColumn column = ProfileColumn::Name;
    std::string text{};
    std::size_t count = 0, width = 0;
    double bedAbove = 0;
    double low = 0, high = 0;  // OutOfRange
    bool catalogue = false;    // UnknownSize: the user's sections were looked in too
};

// "line 3, length: '0' is not above 0" / "第 3 行“长度”：“0”须大于 0。"
std::string ProfileProblemText(const ProfileProblem& problem, Language language);

// "M1" … "S3", "C", and "N" (English) or "均匀流" (Chinese) for uniform flow.
std::string_view CurveTypeName(canal::CurveType type, Language language);

// "design" / "check" (English), "设计流量" / "加大流量" (Chinese).
std::string_view FlowName(canal::FlowKind kind, Language language);

// The columns of a station table (text, CSV and the sheet): English keys
// as JSON names them, Chinese headings with units.
struct StationColumn {
    std::string_view key;
    std::string_view chinese;
};
inline constexpr std::array<StationColumn, 12> kStationColumns = {{
    {"flow", "流量"},
    {"reach", "渠段"},
    {"chainage", "桩号 (m)"},
    {"bed", "渠底高程 (m)"},
    {"depth", "水深 h (m)"},
    {"level", "水位 (m)"},
    {"velocity", "流速 v (m/s)"},
    {"froude", "Fr"},
    {"energy", "能量高程 (m)"},
    {"top", "渠顶高程 (m)"},
    {"freeboard", "超高 (m)"},
    {"type", "曲线"},
}};

// Why a run's conditions cannot be used: the increase factor, the
// downstream end, the station spacing, the smallest freeboard, or a spacing
// that makes more stations than a run may.
struct ConditionProblem {
    enum class Kind { Factor, End, Spacing, MinFreeboard, TooManyStations };
    Kind kind = Kind::Factor;
    std::string text{};  // as given; TooManyStations: the spacing as given
    double length = 0;   // TooManyStations: the canal's length, m
};

// English as veltrane-calc's option errors ("--factor takes …"); Chinese as
// the program and the page say it, one sentence.
std::string ConditionProblemText(const ConditionProblem& problem, Language language);

// A chainage from the canal's head as engineers stake it: kilometres, "+",
// metres to three places with trailing zeros dropped: 1234.5 → "1+234.5",
// 150 → "0+150".
std::string ChainageText(double metres);

// The longitudinal profile drawing's words (纵断面图).
struct ProfileDrawingWords {
    std::string_view title = "纵断面图";
    std::string_view bed = "渠底";
    std::string_view top = "渠顶";
    std::string_view design = "设计水面线";
    std::string_view check = "加大水面线";
    std::string_view overtopped = "水面高于渠顶";
    std::string_view jump = "水跃";
    std::string_view reachRow = "渠段";
    std::string_view sizeRow = "断面";
    std::string_view slopeRow = "纵坡";
    std::string_view chainageRow = "桩号";
    std::string_view levelAxis = "高程（m）";
};
inline constexpr ProfileDrawingWords kProfileDrawing{};

}  // namespace veltrane::views
