// SPDX-License-Identifier: GPL-3.0-or-later
#include "views/batch_problems.h"

#include "hydraulics/section_catalogue.h"

namespace veltrane::views {

namespace {

constexpr std::string_view kColumns = "size,discharge,slope,roughness,factor";

// "U60、U80、U100、U120、U140"
std::string SizeNames() {
    std::string out;
    for (const USection& s : SectionCatalogue) {
        out += (out.empty() ? "" : "、") + std::string(s.name);
    }
    return out;
}

}  // namespace

std::string FileProblemText(const FileProblem& p, Language language) {
    const bool en = language == Language::English;
    switch (p.kind) {
        case FileProblem::Kind::Empty:
            return en ? "the batch file is empty; its first row must name the columns " +
                            std::string(kColumns)
                      : "文件是空的：第一行须列出各列的名称 " + std::string(kColumns) + "。";
        case FileProblem::Kind::DuplicateColumn:
            return en ? "the batch header names the column '" + p.column + "' twice"
                      : "第一行两次列出“" + p.column + "”列。";
        case FileProblem::Kind::MissingColumn:
            return en ? "the batch header has no column '" + p.column + "'"
                      : "第一行缺少“" + p.column + "”列；须有 " + std::string(kColumns) + " 各列。";
    }
    return {};
}

std::string RowProblemReason(const RowProblem& p, Language language) {
    const bool en = language == Language::English;
    switch (p.kind) {
        case RowProblem::Kind::None:
            return {};
        case RowProblem::Kind::UnclosedQuote:
            return en ? "a quoted field is not closed" : "引号内的内容没有结束引号";
        case RowProblem::Kind::TooLong:
            return en ? "longer than " + std::to_string(p.width) + " bytes"
                      : "长于 " + std::to_string(p.width) + " 字节";
        case RowProblem::Kind::FieldCount:
            return en ? std::to_string(p.count) + " fields, the header has " +
                            std::to_string(p.width)
                      : "有 " + std::to_string(p.count) + " 项，第一行有 " +
                            std::to_string(p.width) + " 项";
        case RowProblem::Kind::UnknownSize:
            return en ? "unknown size '" + p.size + "'" +
                            (p.catalogue ? " (neither standard nor in the catalogue)" : "")
                      : "无此规格“" + p.size + "”（可用 " + SizeNames() +
                            (p.catalogue ? " 或自定义断面的名称" : "") + "）";
    }
    return {};
}

std::string RowProblemText(const RowProblem& p, Language language) {
    if (language == Language::English) {
        return "line " + std::to_string(p.line) + ": " + RowProblemReason(p, language);
    }
    return "第 " + std::to_string(p.line) + " 行：" + RowProblemReason(p, language);
}

}  // namespace veltrane::views
