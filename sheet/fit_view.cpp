// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/fit_view.h"

#include "views/verdicts.h"

#include <vector>

#include "hydraulics/number_rules.h"
#include "sheet/section_svg.h"

namespace veltrane::sheet {

std::array<std::string, 7> FitCells(const FitRow& row) {
    std::array<std::string, 7> cells;
    cells[0] = row.section->name;
    const bool numbers = row.status == FitStatus::Fits || row.status == FitStatus::FailsCriteria;
    if (numbers) {
        const SearchOutcome& s = *row.outcome.searches;
        const int d = row.section->reportDecimals;
        cells[1] = PrintedNumber(s.design.reportedDepth, d);
        cells[2] = PrintedNumber(s.check.reportedDepth, d);
        cells[3] = PrintedNumber(row.freeboard, d);
        cells[4] = PrintedNumber(s.design.elements.velocity, 3);
        cells[5] = PrintedNumber(row.froude, 3);
    } else {
        for (std::size_t c = 1; c <= 5; ++c) {
            cells[c] = "—";
        }
    }
    switch (row.status) {
        case FitStatus::Fits:
            cells[6] = views::kMeets;
            break;
        case FitStatus::FailsCriteria:
            cells[6] = "不满足设计准则";
            break;
        case FitStatus::DesignAbove:
            cells[6] = views::DepthAboveChannel(MessageNumber::DesignOverflow);
            break;
        case FitStatus::CheckAbove:
            cells[6] = views::DepthAboveChannel(MessageNumber::CheckOverflow);
            break;
        case FitStatus::Message:
            cells[6] = row.outcome.message().text;
            break;
    }
    return cells;
}

std::string FitVerdict(const FitResult& fit) {
    if (!fit.smallest) {
        return fit.rows.size() > StandardSections().size()
                   ? "五种标准断面与自定义断面均不能满足要求。"
                   : "五种标准断面均不能满足要求。";
    }
    if (fit.smallest->userDefined) {
        return "能通过设计流量与校核流量的最小断面：" + std::string(fit.smallest->sizeLabel) +
               "（自定义断面）";
    }
    return "能通过设计流量与校核流量的最小标准断面：" + std::string(fit.smallest->sizeLabel);
}

std::vector<SvgPanel> FitPanels(const FitResult& fit) {
    std::vector<SvgPanel> panels;
    for (const FitRow& row : fit.rows) {
        SvgPanel p = PanelFor(*row.section, row.outcome);
        if (row.status == FitStatus::FailsCriteria) {
            p.note = "不满足设计要求";
        }
        panels.push_back(std::move(p));
    }
    return panels;
}

std::string FitDrawingTitle(const CalculationInputs& texts) {
    return "装配式U形渠道构件选型  " +
           InputsTitle(texts.discharge, texts.slope, texts.roughness, texts.factor);
}

std::string FitDrawingSvg(const FitResult& fit, const CalculationInputs& texts) {
    return CrossSectionSvg(FitPanels(fit), FitDrawingTitle(texts));
}

}  // namespace veltrane::sheet
