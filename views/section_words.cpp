// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/section_words.h"

namespace veltrane::views {

namespace {

// At most kMaxSectionNameBytes of name, cut before a continuation byte so
// that no character is split, with "…" where something was cut.
// A C0 control or DEL shows as U+FFFD, so that a name with a line break
// keeps its problem on one line.
std::string ShownName(std::string_view name) {
    std::size_t end = name.size();
    if (end > kMaxSectionNameBytes) {
        end = kMaxSectionNameBytes;
        while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
            --end;
        }
    }
    std::string shown;
    for (const char c : name.substr(0, end)) {
        const auto b = static_cast<unsigned char>(c);
        shown += b < 0x20 || b == 0x7F ? std::string("\xEF\xBF\xBD") : std::string(1, c);
    }
    return end < name.size() ? shown + "…" : shown;
}

std::string ColumnWord(SectionColumn column, Language language) {
    const SectionColumnInfo& info = kSectionColumns[static_cast<std::size_t>(column)];
    return std::string(language == Language::English ? info.english : info.chinese);
}

}  // namespace

std::string DefinitionProblemText(DefinitionProblem problem, Language language) {
    const bool en = language == Language::English;
    switch (problem) {
        case DefinitionProblem::NameEmpty:
            return en ? "the name is empty" : "名称为空";
        case DefinitionProblem::NameTooLong:
            return en ? "the name is longer than " + std::to_string(kMaxSectionNameBytes) + " bytes"
                      : "名称超过 " + std::to_string(kMaxSectionNameBytes) + " 字节";
        case DefinitionProblem::NameControl:
            return en ? "the name holds a control character or is not UTF-8"
                      : "名称含控制字符或不是有效的 UTF-8 文字";
        case DefinitionProblem::NameStandard:
            return en ? "the name is a standard size's (U60 … U140, D60 … D140)"
                      : "名称与标准断面（U60～U140、D60～D140）重名";
        case DefinitionProblem::NameOperand:
            return en ? "the name starts with U:, as a section given by its dimensions"
                      : "名称不得以 U: 开头（该写法表示按尺寸给出的断面）";
        case DefinitionProblem::NameRepeated:
            return en ? "the name is an earlier row's" : "名称与前面的行重复";
        case DefinitionProblem::Radius:
            return en ? "r must be above 0 and at most 100 m"
                      : "底弧半径 r 须大于 0 且不大于 100 m";
        case DefinitionProblem::Alpha:
            return en ? "alpha must be at least 0 and below 45 degrees"
                      : "直墙倾角 α 须不小于 0° 且小于 45°";
        case DefinitionProblem::Depth:
            return en ? "H must lie above the tangent depth r(1 - sin alpha) and be at most 100 m"
                      : "渠深 H 须高于切点深度 r(1 − sin α) 且不大于 100 m";
        case DefinitionProblem::Slab:
            return en ? "thickness, when given, must be above 0 and at most 100 cm"
                      : "板厚 δ 如给定须大于 0 且不大于 100 cm";
        case DefinitionProblem::Top:
            return en ? "top, when given, must be above 0 cm" : "渠口宽 B 如给定须大于 0 cm";
        case DefinitionProblem::TooMany:
            return en ? "more than " + std::to_string(kMaxUserSections) + " sections"
                      : "断面超过 " + std::to_string(kMaxUserSections) + " 个";
    }
    return {};
}

std::string SectionProblemText(const SectionProblem& p, Language language) {
    const bool en = language == Language::English;
    std::string where;
    if (p.line > 0) {
        where = en ? "line " + std::to_string(p.line) : "第 " + std::to_string(p.line) + " 行";
    }
    if (!p.name.empty()) {
        where += en ? (where.empty() ? "" : " ") + ("(" + ShownName(p.name) + ")")
                    : "（" + ShownName(p.name) + "）";
    }
    std::string what;
    switch (p.kind) {
        case SectionProblem::Kind::Header:
            what = en ? "the first line must name the columns name,r,alpha,H,thickness,top"
                      : "第一行须为列名 name,r,alpha,H,thickness,top";
            break;
        case SectionProblem::Kind::Cells:
            what = en ? "expected 4 to 6 cells, found " + std::to_string(p.cells)
                      : "应有 4 至 6 个单元格，实有 " + std::to_string(p.cells) + " 个";
            break;
        case SectionProblem::Kind::Unclosed:
            what = en ? "a quoted cell is not closed" : "引号括起的单元格未闭合";
            break;
        case SectionProblem::Kind::TooLong:
            what = en ? "the line is longer than 1 MiB" : "该行超过 1 MiB";
            break;
        case SectionProblem::Kind::Number:
            what = en ? ColumnWord(p.column, language) + " \"" + ShownName(p.cell) +
                            "\" is not a plain decimal number"
                      : ColumnWord(p.column, language) + "“" + ShownName(p.cell) +
                            "”不是普通的十进制数";
            break;
        case SectionProblem::Kind::Missing:
            what = en ? ColumnWord(p.column, language) + " is missing"
                      : ColumnWord(p.column, language) + "未填写";
            break;
        case SectionProblem::Kind::Definition:
            if (p.definition == DefinitionProblem::NameRepeated && p.earlier > 0) {
                what = en ? "the name is line " + std::to_string(p.earlier) + "'s too"
                          : "名称与第 " + std::to_string(p.earlier) + " 行重复";
                break;
            }
            what = DefinitionProblemText(p.definition, language);
            break;
        case SectionProblem::Kind::Key:
            what = en ? "unknown or repeated key \"" + ShownName(p.cell) +
                            "\"; the keys are name, r, alpha, H, thickness and top"
                      : "键“" + ShownName(p.cell) +
                            "”未知或重复；可用的键为 name、r、alpha、H、thickness、top";
            break;
    }
    if (en) {
        return where.empty() ? what : where + ": " + what;
    }
    return where.empty() ? what + "。" : where + "：" + what + "。";
}

}  // namespace veltrane::views
