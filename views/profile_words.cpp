// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/profile_words.h"

#include <algorithm>
#include <cmath>

#include "hydraulics/section_catalogue.h"
#include "views/numbers.h"

namespace veltrane::views {

namespace {

std::string Columns(Language language) {
    std::string out;
    for (const ProfileColumnInfo& c : kProfileColumns) {
        if (c.required) {
            out += out.empty() ? "" : ",";
            out += language == Language::English ? c.key : c.chinese;
        }
    }
    return out;
}

std::string Reason(const ProfileProblem& p, bool en) {
    using Kind = ProfileProblem::Kind;
    const std::string quoted = en ? "'" + p.text + "'" : "“" + p.text + "”";
    switch (p.kind) {
        case Kind::UnclosedQuote:
            return en ? "a quoted field is not closed" : "引号内的内容没有结束引号";
        case Kind::TooLong:
            return en ? "longer than " + std::to_string(p.count) + " bytes"
                      : "长于 " + std::to_string(p.count) + " 字节";
        case Kind::FieldCount:
            return en ? std::to_string(p.count) + " fields, the header has " +
                            std::to_string(p.width)
                      : "有 " + std::to_string(p.count) + " 项，第一行有 " +
                            std::to_string(p.width) + " 项";
        case Kind::Missing:
            return en ? "no value" : "未填写";
        case Kind::NotANumber:
            return en ? quoted + " is not a number" : quoted + "不是数";
        case Kind::NotPositive:
            return en ? quoted + " is not above 0" : quoted + "须大于 0";
        case Kind::Negative:
            return en ? quoted + " is below 0" : quoted + "不能小于 0";
        case Kind::OutOfRange: {
            const std::string low = Decimal(p.low, 6), high = Decimal(p.high, 6);
            return en ? quoted + " is outside " + low + " to " + high
                      : quoted + "须在 " + low + " 至 " + high + " 之间";
        }
        case Kind::UnknownSize: {
            std::string sizes;
            for (const USection& s : SectionCatalogue) {
                sizes += (sizes.empty() ? "" : en ? ", " : "、") + std::string(s.name);
            }
            return en ? "unknown size " + quoted + " (" + sizes +
                            (p.catalogue ? " or a section of the catalogue" : "") + ")"
                      : "无此规格" + quoted + "（可用 " + sizes +
                            (p.catalogue ? " 或自定义断面的名称" : "") + "）";
        }
        case Kind::BedRises: {
            const std::string above = Decimal(p.bedAbove, 3);
            return en ? "the bed " + p.text + " m lies above the end of the reach above, " + above +
                            " m; a bed may drop, never rise"
                      : "渠底高程 " + p.text + " m 高于上一渠段末端的 " + above +
                            " m；渠底只能跌落，不能抬高";
        }
        case Kind::Empty:
        case Kind::MissingColumn:
        case Kind::DuplicateColumn:
        case Kind::NoReaches:
            break;
    }
    return {};
}

}  // namespace

const ProfileColumnInfo& InfoOf(ProfileColumn column) {
    return kProfileColumns[static_cast<std::size_t>(column)];
}

std::string ProfileProblemText(const ProfileProblem& p, Language language) {
    using Kind = ProfileProblem::Kind;
    const bool en = language == Language::English;
    const ProfileColumnInfo& c = InfoOf(p.column);
    switch (p.kind) {
        case Kind::Empty:
            return en ? "the canal file is empty; its first row must name the columns " +
                            Columns(language) + " (and bed, loss, level if given)"
                      : "文件是空的：第一行须列出各列的名称 " + Columns(language) +
                            "（及渠底高程、局部损失系数、要求水位，如有）。";
        case Kind::MissingColumn:
            return en ? "the canal file's header has no column '" + std::string(c.key) + "'"
                      : "第一行缺少“" + std::string(c.chinese) + "”列。";
        case Kind::DuplicateColumn:
            return en ? "the canal file's header names the column '" + std::string(c.key) +
                            "' twice"
                      : "第一行两次列出“" + std::string(c.chinese) + "”列。";
        case Kind::NoReaches:
            return en ? "the canal file has no reach: add one row per reach under the header"
                      : "文件中没有渠段：请在第一行之下每行填写一个渠段。";
        case Kind::UnclosedQuote:
        case Kind::TooLong:
        case Kind::FieldCount:
            return en ? "line " + std::to_string(p.line) + ": " + Reason(p, en)
                      : "第 " + std::to_string(p.line) + " 行：" + Reason(p, en) + "。";
        default:
            break;
    }
    return en ? "line " + std::to_string(p.line) + ", " + std::string(c.key) + ": " + Reason(p, en)
              : "第 " + std::to_string(p.line) + " 行“" + std::string(c.chinese) + "”：" +
                    Reason(p, en) + "。";
}

std::string ConditionProblemText(const ConditionProblem& p, Language language) {
    using Kind = ConditionProblem::Kind;
    const bool en = language == Language::English;
    const std::string given = "'" + p.text + "'";
    switch (p.kind) {
        case Kind::Factor:
            return en ? "--factor takes k from 1 to 2, not " + given : "加大系数须在 1 至 2 之间。";
        case Kind::End:
            return en ? "--end takes normal, critical or a water level in metres, not " + given
                      : "下游水位须为数，单位 m。";
        case Kind::Spacing:
            return en ? "--spacing takes a distance in metres above 0, not " + given
                      : "断面间距须大于 0 且不大于 1000000 m。";
        case Kind::MinFreeboard:
            return en ? "--min-freeboard takes a height in metres of 0 or more, not " + given
                      : "最小安全超高须为不小于 0 的数，或不填。";
        case Kind::TooManyStations:
            return en ? "--spacing " + p.text + " makes more than 1000000 stations along " +
                            Decimal(p.length, 0) + " m; give a wider spacing"
                      : "断面过多（超过 1000000 个），请加大断面间距。";
    }
    return {};
}

std::string_view CurveTypeName(canal::CurveType type, Language language) {
    static constexpr std::string_view kNames[] = {"M1", "M2", "M3", "S1", "S2", "S3", "C"};
    if (type == canal::CurveType::N) {
        return language == Language::English ? "N" : "均匀流";
    }
    return kNames[static_cast<std::size_t>(type)];
}

std::string ChainageText(double metres) {
    const bool negative = metres < 0;
    // Whole millimetres, so that 999.9996 m reads 1+000.
    long long mm = std::llround(std::fabs(metres) * 1000);
    const long long km = mm / 1000000;
    mm -= km * 1000000;
    std::string m = std::to_string(mm / 1000);
    m.insert(0, 3 - std::min<std::size_t>(3, m.size()), '0');
    std::string out = (negative ? "-" : "") + std::to_string(km) + "+" + m;
    if (const long long rest = mm % 1000; rest != 0) {
        std::string frac = std::to_string(rest);
        frac.insert(0, 3 - frac.size(), '0');
        while (frac.back() == '0') {
            frac.pop_back();
        }
        out += "." + frac;
    }
    return out;
}

std::string_view FlowName(canal::FlowKind kind, Language language) {
    const bool design = kind == canal::FlowKind::Design;
    if (language == Language::English) {
        return design ? "design" : "check";
    }
    return design ? "设计流量" : "加大流量";
}

}  // namespace veltrane::views
